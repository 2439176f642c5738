#pragma once

#include "WizardPage.h"

// Page 5 of the wizard.
class ImagesPage : public WizardPage {
    Q_OBJECT

public:
    explicit ImagesPage(QWidget *parent);
};
