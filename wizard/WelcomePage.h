// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WizardPage.h"

class LinkLabel;
class UserPrompts;

// Page 0: welcome and instructions. It edits nothing.
class WelcomePage : public WizardPage {
    Q_OBJECT

public:
    WelcomePage(UserPrompts &prompts, QWidget *parent);

    LinkLabel *Label42 = nullptr;

public slots:
    void Label42Click();

private:
    UserPrompts &m_prompts;
};
