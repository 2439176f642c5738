// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

enum class PromptIcon { NoIcon, Information, Warning, Critical, Question };

// The answer a question gives when the user presses Enter. A question whose
// Yes lowers the user's security has No as its default.
enum class DefaultAnswer { Yes, No };

// Every message box, question, file dialog, shell call and help request of
// the program goes through this interface, so tests can read the exact texts
// and answer the questions. Windows get it handed in when they are created.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A box with the given title, text and icon and one OK button. Details,
    // when given, are offered behind a button of the box (what the server
    // answered, say), for whoever needs more than the text.
    virtual void message(QWidget *parent, const QString &title, const QString &text,
                         PromptIcon icon, const QString &details = QString()) = 0;

    // A question with Yes and No buttons and the question icon; true on Yes.
    // Escape always answers No.
    virtual bool question(QWidget *parent, const QString &title, const QString &text,
                          DefaultAnswer defaultAnswer = DefaultAnswer::Yes) = 0;

    // The open-file dialog; an empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &folder,
                                 const QString &filter) = 0;

    // Hands a file to the system's default application (a browser for a page,
    // a player for a sound). The result is not examined.
    virtual void openFile(QWidget *parent, const QString &path) = 0;

    // Opens a web address in the browser. The result is not examined.
    virtual void openUrl(QWidget *parent, const QUrl &url) = 0;

    // Shows the help: topic 0 is the contents, other numbers the topics.
    virtual void showHelp(QWidget *parent, int topic) = 0;
};
