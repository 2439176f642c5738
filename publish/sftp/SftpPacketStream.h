// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The packets of SFTP version 3 on the channel's byte stream: each is its
// length, its type, the number of the request it belongs to and its body.
// Ours are framed whole; the server's bytes are cut into packets as they
// come. A packet shorter than its type and number, or longer than
// LargestPacket, breaks the stream for good.
class SftpPacketStream {
public:
    // Larger answers than this are not SFTP version 3's.
    static constexpr quint32 LargestPacket = 256 * 1024;

    struct Packet {
        quint8 type = 0;
        // The request's number; the version, in the version packet.
        quint32 id = 0;
        QByteArray body;
    };

    // A packet of ours, ready for the channel.
    static QByteArray frame(quint8 type, quint32 id, QByteArrayView body);

    // Takes received bytes. False once the stream is broken.
    bool feed(QByteArrayView bytes);
    // How many more bytes the packet under way needs: reading no more than
    // that leaves the next packet's bytes unread. 0 once broken.
    qsizetype missing() const;

    bool hasPacket() const { return !m_ready.isEmpty(); }
    Packet takePacket() { return m_ready.takeFirst(); }
    bool isBroken() const { return m_broken; }
    // No packet begun or waiting to be taken.
    bool isIdle() const { return m_buffer.isEmpty() && m_ready.isEmpty(); }

private:
    QByteArray m_buffer;
    QList<Packet> m_ready;
    bool m_broken = false;
};
