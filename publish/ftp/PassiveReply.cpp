// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/PassiveReply.h"

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

std::optional<quint16> PassiveReply::parseExtended(const QString &text)
{
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open);
    if (close < 0)
        return std::nullopt;
    const QStringView inside = QStringView(text).mid(open + 1, close - open - 1);
    // Three delimiters, the port, one more; the protocol and address fields
    // stay empty, since the data go to the control connection's peer.
    if (inside.size() < 5)
        return std::nullopt;
    const QChar delimiter = inside[0];
    if (delimiter.unicode() < 33 || delimiter.unicode() > 126 || delimiter.isDigit() ||
        inside[1] != delimiter || inside[2] != delimiter || inside.back() != delimiter)
        return std::nullopt;
    const QStringView digits = inside.mid(3, inside.size() - 4);
    if (digits.isEmpty() || digits.size() > 5)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int port = digits.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}
