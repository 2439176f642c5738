#pragma once

#include "WizardPage.h"

// Page 3 of the wizard.
class SoundPage : public WizardPage {
    Q_OBJECT

public:
    explicit SoundPage(QWidget *parent);
};
