// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpPacket.h"

#include <QtEndian>

namespace SftpPacket {

void addU32(QByteArray &to, quint32 value)
{
    const quint32 big = qToBigEndian(value);
    to.append(reinterpret_cast<const char *>(&big), 4);
}

void addString(QByteArray &to, const QByteArray &value)
{
    addU32(to, quint32(value.size()));
    to.append(value);
}

QByteArray string(const QByteArray &value)
{
    QByteArray body;
    addString(body, value);
    return body;
}

QByteArray strings(const QByteArray &first, const QByteArray &second)
{
    QByteArray body = string(first);
    addString(body, second);
    return body;
}

quint32 Fields::u32()
{
    if (m_pos + 4 > m_data.size())
        return m_pos = m_data.size(), 0;
    m_pos += 4;
    return qFromBigEndian<quint32>(m_data.constData() + m_pos - 4);
}

QByteArray Fields::string()
{
    const quint32 size = u32();
    const QByteArray value = m_data.mid(m_pos, qMin<qsizetype>(size, m_data.size() - m_pos));
    m_pos += value.size();
    return value;
}

quint32 Fields::permissions()
{
    constexpr quint32 Size = 0x1, Owner = 0x2, Permissions = 0x4, Times = 0x8,
                      ExtendedPairs = 0x80000000;
    const quint32 flags = u32();
    if (flags & Size)
        u32(), u32();
    if (flags & Owner)
        u32(), u32();
    const quint32 permissions = (flags & Permissions) ? u32() : 0;
    if (flags & Times)
        u32(), u32();
    if (flags & ExtendedPairs) {
        for (quint32 count = u32(); count > 0 && !atEnd(); --count)
            string(), string();
    }
    return permissions;
}

} // namespace SftpPacket
