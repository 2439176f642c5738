// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// What the help window shows for one request: the page of the topic asked
// for, or a short page that says why it cannot be shown.
struct HelpPage {
    int topic = 0;
    QString html;
    QString error; // the reason in Spanish; empty when the topic was found

    bool found() const { return error.isEmpty(); }
};

// The program's help file is one HTML document in which every topic is a
// block <section id="topic-N"> ... </section>, N being its context number;
// topic 0 is the contents. Finding a topic is kept apart from the window so
// that it can be checked without showing anything.
class HelpFile {
public:
    // Reads the file and cuts out the topic, ready for a text browser: the
    // document's head (title, styles) followed by the topic alone.
    static HelpPage page(const QString &path, int topic);

    // The context numbers of the topics of a help document, in file order.
    static QList<int> topics(const QString &html);

    // The fragment that links inside the help point at: "topic-7".
    static QString anchor(int topic);

    // The topic a link inside the help leads to, or -1 when the fragment is
    // not a topic's.
    static int topicOfAnchor(const QString &fragment);

    static QString missingFileMessage(const QString &path);
    static QString unreadableFileMessage(const QString &path);
    static QString missingTopicMessage(int topic);
};
