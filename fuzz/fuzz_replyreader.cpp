// SPDX-License-Identifier: GPL-3.0-or-later
// The reply reader on whatever a server may send. The same bytes are fed in
// one piece, one byte at a time and cut at a point the input chooses: every
// way must give the same replies and the same verdict, since the network may
// cut the stream anywhere. Every reply has a valid code and a bounded text.

#include "publish/ftp/FtpReplyReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Outcome {
    QList<FtpReply> replies;
    bool broken = false;
};

Outcome readInPieces(const QByteArray &bytes, qsizetype pieceSize, qsizetype firstCut)
{
    FtpReplyReader reader;
    Outcome outcome;
    qsizetype at = 0;
    while (at < bytes.size() && !reader.isBroken()) {
        const qsizetype size = at == 0 && firstCut > 0 ? firstCut : pieceSize;
        reader.feed(bytes.mid(at, size));
        at += size;
        while (reader.hasReply())
            outcome.replies.append(reader.takeReply());
    }
    outcome.broken = reader.isBroken();
    // Once broken, the reader takes nothing more.
    if (outcome.broken && (reader.feed("220 ok\r\n") || reader.hasReply()))
        std::abort();
    return outcome;
}

bool same(const Outcome &a, const Outcome &b)
{
    if (a.broken != b.broken || a.replies.size() != b.replies.size())
        return false;
    for (qsizetype i = 0; i < a.replies.size(); ++i) {
        if (a.replies[i].code != b.replies[i].code || a.replies[i].text != b.replies[i].text)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Outcome whole = readInPieces(bytes, bytes.size() + 1, 0);
    for (const FtpReply &reply : whole.replies) {
        if (reply.code < 100 || reply.code > 599 ||
            reply.text.size() > FtpReplyReader::MaxLineLength || reply.text.size() < 3 ||
            (reply.text.size() > 3 && reply.text[3] != u' ') ||
            reply.text.left(3).toInt() != reply.code)
            std::abort();
    }
    if (!same(whole, readInPieces(bytes, 1, 0)))
        std::abort();
    const qsizetype cut = size > 0 ? qsizetype(data[0]) * 97 % qsizetype(size + 1) : 0;
    if (!same(whole, readInPieces(bytes, bytes.size() + 1, cut)))
        std::abort();
    return 0;
}
