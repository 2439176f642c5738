// SPDX-License-Identifier: GPL-3.0-or-later
// The 227 parser on any reply text: it never reads out of bounds, and what it
// accepts is six numbers it would read back the same when written out again.

#include "publish/ftp/PassiveReply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &text : {QString::fromLatin1(bytes), QString::fromUtf8(bytes)}) {
        const std::optional<PassiveReply> reply = PassiveReply::parse(text);
        if (!reply)
            continue;
        if (reply->port == 0)
            std::abort();
        const QString again = QStringLiteral("227 Entering Passive Mode (%1,%2,%3,%4,%5,%6).")
                                  .arg(reply->host[0])
                                  .arg(reply->host[1])
                                  .arg(reply->host[2])
                                  .arg(reply->host[3])
                                  .arg(reply->port >> 8)
                                  .arg(reply->port & 0xff);
        const std::optional<PassiveReply> reread = PassiveReply::parse(again);
        if (!reread || reread->port != reply->port ||
            std::memcmp(reread->host, reply->host, 4) != 0)
            std::abort();
    }
    return 0;
}
