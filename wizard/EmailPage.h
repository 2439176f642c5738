// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WizardPage.h"

class QLineEdit;

// Page 8: the words before the e-mail link, the address and the page file.
class EmailPage : public WizardPage {
    Q_OBJECT

public:
    explicit EmailPage(QWidget *parent);

    void pageShown() override;
    void readInto(PageSettings &settings) const override;
    void applySettings(const PageSettings &settings) override;

    QLineEdit *txtTitolEmail = nullptr;
    QLineEdit *txtEmail = nullptr;
    QLineEdit *txtHTML = nullptr;
};
