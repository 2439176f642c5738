// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "prompts/UserPrompts.h"

// The prompts as the user sees them: Qt message boxes, the file dialog, the
// desktop's default applications and the program's help viewer.
class QtUserPrompts : public UserPrompts {
public:
    // The help file that showHelp() opens (the wizard names it at start-up).
    void setHelpFile(const QString &path) { m_helpFile = path; }
    QString helpFile() const { return m_helpFile; }

    void message(QWidget *parent, const QString &title, const QString &text, PromptIcon icon,
                 const QString &details = QString()) override;
    bool question(QWidget *parent, const QString &title, const QString &text,
                  DefaultAnswer defaultAnswer = DefaultAnswer::Yes) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                         const QString &filter) override;
    void openFile(QWidget *parent, const QString &path) override;
    void openUrl(QWidget *parent, const QUrl &url) override;
    void showHelp(QWidget *parent, int topic) override;

private:
    QString m_helpFile;
};
