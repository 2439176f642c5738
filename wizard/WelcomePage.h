// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/WizardPage.h"

class LinkLabel;
class QLabel;
class UserPrompts;

// Page 0: welcome and instructions. It edits nothing.
class WelcomePage : public WizardPage {
    Q_OBJECT

public:
    WelcomePage(UserPrompts &prompts, QWidget *parent);

    // Says that the work of an earlier session was recovered, with the link
    // that starts a new page instead; hideRecovered() takes both away.
    void showRecovered(const QString &line);
    void hideRecovered();

    LinkLabel *Label42 = nullptr;
    QLabel *lblRecuperado = nullptr;     // made by the first showRecovered()
    LinkLabel *lblPaginaNueva = nullptr; // likewise

signals:
    // "Empezar una página nueva" was clicked.
    void newPageRequested();

public slots:
    void Label42Click();

private:
    UserPrompts &m_prompts;
    void layOut(bool recovered);

    // Where the words to start stand while the line is shown.
    static constexpr int kStartTop = 245;

    QLabel *m_support = nullptr;
    QWidget *m_box = nullptr;
    QLabel *m_boxText = nullptr;
    QLabel *m_start = nullptr;
};
