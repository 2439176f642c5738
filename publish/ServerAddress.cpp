// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ServerAddress.h"

ServerAddress ServerAddress::parse(const QString &text)
{
    ServerAddress address;
    address.host = text;
    qsizetype colon = -1;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0 || (close + 1 < text.size() && text.at(close + 1) != u':'))
            return address;
        address.host = text.mid(1, close - 1);
        if (close + 1 == text.size())
            return address;
        colon = close + 1;
    } else {
        // One colon only: more are an IPv6 address of its own.
        colon = text.indexOf(u':');
        if (colon < 0 || colon != text.lastIndexOf(u':'))
            return address;
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
