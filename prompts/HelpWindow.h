// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prompts/HelpFile.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTextBrowser;
class QUrl;
class UserPrompts;

// The help window: one topic of the help file at a time, with the contents a
// button away. It is not modal, so the user can keep it open beside the
// wizard while filling a page, and one window serves every request.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit HelpWindow(UserPrompts &prompts, QWidget *parent = nullptr);

    // The one help window of the program, created on first use and moved
    // under the window that asks (a modal window blocks every window that is
    // not its own), then brought to the front with the topic shown.
    static HelpWindow *showFor(QWidget *parent, const QString &helpFile, int topic);

    // Reads the help file again and shows the topic, or why it cannot.
    void showTopic(const QString &helpFile, int topic);

    const HelpPage &page() const { return m_page; }
    QTextBrowser *browser() const { return m_browser; }

private:
    void followLink(const QUrl &url);
    void goToTopic(int topic);
    void goBack();
    void updateButtons();

    UserPrompts &m_prompts;
    QTextBrowser *m_browser = nullptr;
    QPushButton *m_contents = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_close = nullptr;
    QString m_helpFile;
    HelpPage m_page;
    QList<int> m_history; // topics to go back to, the latest last
};
