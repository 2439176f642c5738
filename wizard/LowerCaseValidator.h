// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

// Turns every letter the user types or pastes into lower case as it enters
// the edit.
class LowerCaseValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
};
