// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for comparing written pages line by line in the tests.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace PageText {

// The lines of a page, split at CR LF (the CR LF itself removed).
inline QList<QByteArray> lines(const QByteArray &page)
{
    QList<QByteArray> result = page.split('\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    for (QByteArray &line : result) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return result;
}

// A page line as the file holds it.
inline QByteArray bytes(const QString &line)
{
    return line.toLatin1();
}

// Blanks, tabs and carriage returns made visible for failure messages.
inline QString visible(const QByteArray &line)
{
    QString shown = QString::fromLatin1(line);
    shown.replace(u' ', u'\u00B7');
    shown.replace(u'\t', QStringLiteral("\\t"));
    shown.replace(u'\r', QStringLiteral("\\r"));
    return u'[' + shown + u']';
}

// Empty when the two pages are equal byte for byte, else a description of
// the first line that differs.
inline QString firstDifference(const QByteArray &expected, const QByteArray &actual)
{
    if (expected == actual)
        return {};
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QByteArray w = i < want.size() ? want[i] : QByteArray("<no line>");
        const QByteArray g = i < got.size() ? got[i] : QByteArray("<no line>");
        if (w != g) {
            return QStringLiteral("line %1 differs\n  expected %2\n  actual   %3")
                .arg(i + 1)
                .arg(visible(w), visible(g));
        }
    }
    return QStringLiteral("pages differ");
}

// The creation stamp a written page carries in its second line, so a test
// can render the expected page with the same stamp.
inline QString stampOf(const QByteArray &page)
{
    const QList<QByteArray> all = lines(page);
    if (all.size() < 2)
        return {};
    const QByteArray &line = all[1];
    return QString::fromLatin1(line.mid(line.indexOf(": ") + 2));
}

// True when the lines appear one after another somewhere in the page.
inline bool containsRun(const QList<QByteArray> &page, const QStringList &run)
{
    if (run.isEmpty())
        return true;
    for (qsizetype start = 0; start + run.size() <= page.size(); ++start) {
        bool all = true;
        for (qsizetype k = 0; k < run.size() && all; ++k)
            all = page[start + k] == bytes(run[k]);
        if (all)
            return true;
    }
    return false;
}

} // namespace PageText
