// SPDX-License-Identifier: GPL-3.0-or-later
// The SFTP packet stream on whatever a server may send. The same bytes are
// fed as the channel reads them (never more than the packet under way
// needs), in one piece, one byte at a time and cut at a point the input
// chooses: every way must give the same packets and the same verdict.
// Framed again, the packets are the bytes they came from; their fields read
// within the body, whatever it holds.

#include "publish/sftp/SftpPacket.h"
#include "publish/sftp/SftpPacketStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Outcome {
    QList<SftpPacketStream::Packet> packets;
    bool broken = false;
    bool idle = true;
};

void collect(SftpPacketStream &stream, Outcome &outcome)
{
    while (stream.hasPacket())
        outcome.packets.append(stream.takePacket());
}

Outcome finish(SftpPacketStream &stream, Outcome outcome)
{
    outcome.broken = stream.isBroken();
    outcome.idle = stream.isIdle();
    // Once broken, the stream takes nothing more and needs nothing more.
    if (outcome.broken && (stream.feed(SftpPacketStream::frame(101, 1, "")) || stream.hasPacket() ||
                           stream.missing() != 0))
        std::abort();
    return outcome;
}

Outcome readInPieces(const QByteArray &bytes, qsizetype pieceSize, qsizetype firstCut)
{
    SftpPacketStream stream;
    Outcome outcome;
    qsizetype at = 0;
    while (at < bytes.size() && !stream.isBroken()) {
        const qsizetype size = at == 0 && firstCut > 0 ? firstCut : pieceSize;
        stream.feed(QByteArrayView(bytes).sliced(at, qMin(size, bytes.size() - at)));
        at += size;
        collect(stream, outcome);
    }
    return finish(stream, outcome);
}

Outcome readAsTheChannel(const QByteArray &bytes)
{
    SftpPacketStream stream;
    Outcome outcome;
    qsizetype at = 0;
    while (at < bytes.size() && !stream.isBroken()) {
        const qsizetype wanted = stream.missing();
        if (wanted <= 0)
            std::abort();
        stream.feed(QByteArrayView(bytes).sliced(at, qMin(wanted, bytes.size() - at)));
        at += wanted;
        // Never more than one packet at a time, and nothing of the next.
        if (stream.hasPacket()) {
            outcome.packets.append(stream.takePacket());
            if (stream.hasPacket() || !stream.isIdle())
                std::abort();
        }
    }
    return finish(stream, outcome);
}

bool same(const Outcome &a, const Outcome &b)
{
    if (a.broken != b.broken || a.idle != b.idle || a.packets.size() != b.packets.size())
        return false;
    for (qsizetype i = 0; i < a.packets.size(); ++i) {
        const auto &p = a.packets[i], &q = b.packets[i];
        if (p.type != q.type || p.id != q.id || p.body != q.body)
            return false;
    }
    return true;
}

// Reads a body as the channel reads the answers it knows, every field in turn.
void readFields(const QByteArray &body)
{
    SftpPacket::Fields fields(body);
    qsizetype taken = 0;
    for (int round = 0; !fields.atEnd() && round < 64; ++round) {
        switch (round % 3) {
        case 0:
            fields.u32();
            break;
        case 1:
            taken += fields.string().size();
            break;
        default:
            fields.permissions();
        }
    }
    if (taken > body.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const Outcome whole = readInPieces(bytes, bytes.size() + 1, 0);
    QByteArray framed;
    for (const auto &packet : whole.packets) {
        if (packet.body.size() + 5 > qsizetype(SftpPacketStream::LargestPacket))
            std::abort();
        framed += SftpPacketStream::frame(packet.type, packet.id, packet.body);
        readFields(packet.body);
    }
    if (!bytes.startsWith(framed) ||
        (!whole.broken && whole.idle != (framed.size() == bytes.size())))
        std::abort();
    if (!same(whole, readInPieces(bytes, 1, 0)))
        std::abort();
    const qsizetype cut = size > 0 ? qsizetype(data[0]) * 97 % qsizetype(size + 1) : 0;
    if (!same(whole, readInPieces(bytes, bytes.size() + 1, cut)))
        std::abort();
    if (!same(whole, readAsTheChannel(bytes)))
        std::abort();
    return 0;
}
