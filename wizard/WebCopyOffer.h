// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "photo/WebCopy.h"

#include <QColor>
#include <QObject>
#include <QSet>

#include <functional>

class QWidget;
class UserPrompts;
struct PhotoFacts;

// Offers a copy for the web of a photo the user picks on the images page
// when the photo is large or tells where it was taken, once per file while
// the program runs, and prepares it off the user-interface thread with the
// hourglass showing. A HEIC, HEIF, PNG or WebP picture, which the page can
// only show through its copy, is offered one at every pick. A copy replaces only an unchanged copy
// made here, in this session or an earlier one, never a file of the user's.
class WebCopyOffer : public QObject {
    Q_OBJECT

public:
    // The page's background colour, asked for when a copy is made: it shows
    // through a picture's transparent parts.
    using Background = std::function<QColor()>;

    WebCopyOffer(UserPrompts &prompts, Background background, QWidget *page);

    // A JPEG picked in picture slot `slot`, with what was read of it.
    void offer(int slot, const QString &path, const PhotoFacts &facts);
    // A picture the page cannot show as it is, picked in slot `slot`.
    void offerNeeded(int slot, const QString &path, const PhotoFacts &facts);

    // The copies written here, and those an earlier session wrote, which
    // are remembered with them.
    const WebCopy::MadeCopies &madeCopies() const { return m_made; }
    void rememberCopies(const WebCopy::MadeCopies &made);

signals:
    // The copy is written; the slot may take it in place of the original.
    void prepared(int slot, const QString &original, const QString &copy);
    // No copy of a picture that needs one: the slot keeps what it had.
    void declined(int slot, const QString &original);
    // A preparation ended, with a copy or a box.
    void finished();

private:
    void prepare(int slot, const QString &path, const QString &copyPath);

    UserPrompts &m_prompts;
    Background m_background;
    QWidget *m_page;
    QSet<QString> m_asked; // answered, or a copy made here
    WebCopy::MadeCopies m_made;
};
