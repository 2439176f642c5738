// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ServerAddress.h"

#include <algorithm>

namespace {

ServerAddress refused(const QString &text)
{
    ServerAddress address;
    address.host = text;
    address.error = QStringLiteral("El nombre del servidor no es válido: ") + text;
    return address;
}

} // namespace

ServerAddress ServerAddress::parse(const QString &text)
{
    // No host name holds a blank or a control character; one typed inside
    // the text is a mistake, not a name for the system to look up.
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 32; }))
        return refused(text);
    ServerAddress address;
    address.host = text;
    qsizetype colon = -1;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 2 || (close + 1 < text.size() && text.at(close + 1) != u':'))
            return refused(text);
        address.host = text.mid(1, close - 1);
        if (close + 1 == text.size())
            return address;
        colon = close + 1;
    } else {
        // One colon only: more are an IPv6 address of its own.
        colon = text.indexOf(u':');
        if (colon < 0 || colon != text.lastIndexOf(u':'))
            return address;
        if (colon == 0)
            return refused(text);
        address.host = text.left(colon);
    }
    const QString port = text.mid(colon + 1);
    bool number = false;
    const uint value = port.toUInt(&number);
    if (!number || value < 1 || value > 65535 || !port.at(0).isDigit()) {
        address.error = QStringLiteral("El puerto indicado no es válido: ") + port;
        return address;
    }
    address.port = quint16(value);
    return address;
}
