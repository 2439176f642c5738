#pragma once

#include "WizardPage.h"

// Page 4 of the wizard.
class CentralTextPage : public WizardPage {
    Q_OBJECT

public:
    explicit CentralTextPage(QWidget *parent);
};
