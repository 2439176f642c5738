// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSet>

class QWidget;
class UserPrompts;

// Offers a copy for the web of a photo the user picks on the images page
// when the photo is large or tells where it was taken, once per file while
// the program runs, and prepares it off the user-interface thread with the
// hourglass showing.
class WebCopyOffer : public QObject {
    Q_OBJECT

public:
    WebCopyOffer(UserPrompts &prompts, QWidget *page);

    // A JPEG picked in picture slot `slot`.
    void offer(int slot, const QString &path);

signals:
    // The copy is written; the slot may take it in place of the original.
    void prepared(int slot, const QString &original, const QString &copy);
    // A preparation ended, with a copy or a box.
    void finished();

private:
    void prepare(int slot, const QString &path);

    UserPrompts &m_prompts;
    QWidget *m_page;
    QSet<QString> m_asked; // answered, or a copy made here
};
