// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A stand-in for the user: records every prompt and answers questions and
// file dialogs from queues the test fills.

#include "prompts/UserPrompts.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QUrl>

#include <functional>

class RecordingPrompts : public UserPrompts {
public:
    enum class Kind { Message, Question, OpenFileName, OpenFile, OpenUrl, Help };

    struct Call {
        Kind kind;
        QString title;
        QString text; // message or question text; file path; address; dialog filter
        PromptIcon icon = PromptIcon::NoIcon;
        int topic = -1;
        QString folder = {};  // the file dialog's folder
        QString details = {}; // a message's details
        // What Enter answers to a question.
        DefaultAnswer defaultAnswer = DefaultAnswer::Yes;
    };

    QList<Call> calls;
    QQueue<bool> answers;      // for question(); No when empty
    QQueue<QString> fileNames; // for openFileName(); cancel when empty

    // Called during each prompt, e.g. to look at the window while it is open.
    std::function<void(const Call &)> onCall;

    void message(QWidget *, const QString &title, const QString &text, PromptIcon icon,
                 const QString &details = QString()) override
    {
        record({Kind::Message, title, text, icon, -1, QString(), details});
    }
    bool question(QWidget *, const QString &title, const QString &text,
                  DefaultAnswer defaultAnswer = DefaultAnswer::Yes) override
    {
        record({Kind::Question, title, text, PromptIcon::Question, -1, {}, {}, defaultAnswer});
        return answers.isEmpty() ? false : answers.dequeue();
    }
    QString openFileName(QWidget *, const QString &title, const QString &folder,
                         const QString &filter) override
    {
        record({Kind::OpenFileName, title, filter, PromptIcon::NoIcon, -1, folder});
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    void openFile(QWidget *, const QString &path) override
    {
        record({Kind::OpenFile, QString(), path});
    }
    void openUrl(QWidget *, const QUrl &url) override
    {
        record({Kind::OpenUrl, QString(), url.toString()});
    }
    void showHelp(QWidget *, int topic) override
    {
        record({Kind::Help, QString(), QString(), PromptIcon::NoIcon, topic});
    }

    QList<Call> ofKind(Kind kind) const
    {
        QList<Call> found;
        for (const Call &call : calls) {
            if (call.kind == kind)
                found.append(call);
        }
        return found;
    }

    // The texts of the messages shown, in order.
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const Call &call : ofKind(Kind::Message))
            texts.append(call.text);
        return texts;
    }

private:
    void record(const Call &call)
    {
        calls.append(call);
        if (onCall)
            onCall(call);
    }
};
