#pragma once

#include "WizardPage.h"

// Page 6 of the wizard.
class ScrollTextPage : public WizardPage {
    Q_OBJECT

public:
    explicit ScrollTextPage(QWidget *parent);
};
