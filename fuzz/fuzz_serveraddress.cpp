// SPDX-License-Identifier: GPL-3.0-or-later
// The server box's parser on whatever the user may type or paste: a port is
// given only with no error, and then the text is the host and that port; a
// host without a port is the text itself, or what its brackets hold; a host
// that is accepted holds no blank or control character.

#include "publish/ServerAddress.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Mostly Latin-1, one UTF-16 unit from two bytes after a 0xFF.
    QString text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.append(QChar(char16_t(data[i + 1] << 8 | data[i + 2])));
            i += 2;
        } else {
            text.append(QChar(char16_t(data[i])));
        }
    }
    const ServerAddress address = ServerAddress::parse(text);
    if (!address.error.isEmpty()) {
        if (address.port != 0)
            std::abort();
        return 0;
    }
    if (address.host.isEmpty() != text.isEmpty())
        std::abort();
    for (const QChar c : address.host) {
        if (c.unicode() <= 32)
            std::abort();
    }
    const QString bracketed = u'[' + address.host + u']';
    if (address.port == 0) {
        if (text != address.host && text != bracketed)
            std::abort();
        return 0;
    }
    const QString port = text.mid(text.lastIndexOf(u':') + 1);
    if (port.toUInt() != address.port ||
        (text != address.host + u':' + port && text != bracketed + u':' + port))
        std::abort();
    return 0;
}
