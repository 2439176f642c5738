#include "PassiveReply.h"

#include <QStringList>

std::optional<PassiveReply> PassiveReply::parse(const QString &text)
{
    QString numbers;
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open);
    if (open >= 0 && close > open)
        numbers = text.mid(open + 1, close - open - 1);
    else
        numbers = text.mid(text.lastIndexOf(u' ') + 1);

    const QStringList parts = numbers.split(u',');
    if (parts.size() != 6)
        return std::nullopt;
    int values[6];
    for (int i = 0; i < 6; ++i) {
        const QString part = parts[i].trimmed();
        bool ok = false;
        values[i] = part.toInt(&ok);
        // toInt() would take a sign; a number here is plain digits.
        if (!ok || part.isEmpty() || !part[0].isDigit() || values[i] < 0 || values[i] > 255)
            return std::nullopt;
    }
    PassiveReply reply;
    for (int i = 0; i < 4; ++i)
        reply.host[i] = quint8(values[i]);
    reply.port = quint16(values[4] * 256 + values[5]);
    if (reply.port == 0)
        return std::nullopt;
    return reply;
}
