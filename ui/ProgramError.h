// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

// An error that no handler of the program deals with itself. It travels to
// the application's general error box, which shows its text.
class ProgramError : public std::runtime_error {
public:
    explicit ProgramError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }

    QString text() const { return m_text; }

private:
    QString m_text;
};
