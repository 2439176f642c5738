// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The user as the benchmarks play it: every box is answered at once, and the
// last message is kept so the benchmark can tell how a run ended.

#include "prompts/UserPrompts.h"

#include <QString>
#include <QUrl>

#include <functional>

class BenchPrompts : public UserPrompts {
public:
    QString lastMessage;
    int messages = 0;
    std::function<void(const QString &)> onMessage;

    void message(QWidget *, const QString &, const QString &text, PromptIcon,
                 const QString & = QString()) override
    {
        lastMessage = text;
        ++messages;
        if (onMessage)
            onMessage(text);
    }
    // The certificate question of a server with a self-signed certificate.
    bool answerYes = false;
    bool question(QWidget *, const QString &, const QString &,
                  DefaultAnswer = DefaultAnswer::Yes) override
    {
        return answerYes;
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return QString();
    }
    void openFile(QWidget *, const QString &) override {}
    void openUrl(QWidget *, const QUrl &) override {}
    void showHelp(QWidget *, int) override {}
};

// Says Sí to every question, after running onQuestion (the photo question of
// the images page, say).
class AnsweringPrompts : public BenchPrompts {
public:
    std::function<void()> onQuestion;
    bool question(QWidget *, const QString &, const QString &, DefaultAnswer) override
    {
        if (onQuestion)
            onQuestion();
        return true;
    }
};
