// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpPacketStream.h"

#include "publish/sftp/SftpPacket.h"

#include <QtEndian>

namespace {

// The type and the request's number.
constexpr quint32 HeadSize = 5;

} // namespace

QByteArray SftpPacketStream::frame(quint8 type, quint32 id, QByteArrayView body)
{
    QByteArray packet;
    packet.reserve(4 + HeadSize + body.size());
    SftpPacket::addU32(packet, quint32(HeadSize + body.size()));
    packet += char(type);
    SftpPacket::addU32(packet, id);
    packet += body;
    return packet;
}

bool SftpPacketStream::feed(QByteArrayView bytes)
{
    if (m_broken)
        return false;
    m_buffer.append(bytes);
    qsizetype start = 0;
    while (m_buffer.size() - start >= 4) {
        const quint32 size = qFromBigEndian<quint32>(m_buffer.constData() + start);
        if (size < HeadSize || size > LargestPacket) {
            m_broken = true;
            m_buffer.clear();
            return false;
        }
        if (m_buffer.size() - start - 4 < qsizetype(size))
            break;
        const char *head = m_buffer.constData() + start + 4;
        m_ready.append({quint8(head[0]), qFromBigEndian<quint32>(head + 1),
                        m_buffer.mid(start + 4 + HeadSize, size - HeadSize)});
        start += 4 + size;
    }
    m_buffer.remove(0, start);
    return true;
}

qsizetype SftpPacketStream::missing() const
{
    if (m_broken)
        return 0;
    if (m_buffer.size() < 4)
        return 4 - m_buffer.size();
    return 4 + qFromBigEndian<quint32>(m_buffer.constData()) - m_buffer.size();
}
