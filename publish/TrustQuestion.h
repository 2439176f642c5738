// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <utility>

// A question whose Yes lowers the user's guard: trust a server whose
// identity cannot be checked. The step that asks makes it with the text the
// user must read and what to do with the answer; whoever shows it answers it
// once, with accept() or reject(), and the answer goes straight back to that
// step. It is shown with the title "Brenzo", Sí and No, and No as the answer
// of Enter and Escape.
class TrustQuestion {
public:
    // `answer` is called once, with true for accept(); the step that asks
    // guards against having ended meanwhile.
    TrustQuestion(QString text, std::function<void(bool trust)> answer)
        : m_text(std::move(text)), m_answer(std::move(answer))
    {
    }

    const QString &text() const { return m_text; }
    void accept() { answer(true); }
    void reject() { answer(false); }

private:
    void answer(bool trust)
    {
        if (auto answer = std::exchange(m_answer, nullptr))
            answer(trust);
    }

    QString m_text;
    std::function<void(bool)> m_answer;
};
