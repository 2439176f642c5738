// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/CreationStamp.h"

PageClock systemClock()
{
    return [] { return QDateTime::currentDateTime(); };
}

QString timeFormatWithoutZone(const QString &longTimeFormat)
{
    QString format;
    bool quoted = false;
    for (QChar c : longTimeFormat) {
        if (c == u'\'')
            quoted = !quoted;
        else if (c == u't' && !quoted)
            continue;
        format.append(c);
    }
    // A zone written in brackets leaves the brackets behind.
    format.remove(QStringLiteral("()"));
    return format.trimmed();
}

QString creationStamp(const QDateTime &when, const QLocale &locale)
{
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QTime time = when.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    const QString format = timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat));
    return date + u' ' + locale.toString(time, format);
}
