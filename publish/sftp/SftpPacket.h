// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The wire format of SFTP version 3: big-endian numbers and strings with
// their length in front.
namespace SftpPacket {

// The packet types, flags and status codes Brenzo uses.
enum Type : quint8 {
    Init = 1,
    Version = 2,
    Open = 3,
    Close = 4,
    Write = 6,
    OpenDir = 11,
    ReadDir = 12,
    Remove = 13,
    RealPath = 16,
    Stat = 17,
    Rename = 18,
    Status = 101,
    Handle = 102,
    Name = 104,
    Attrs = 105,
    Extended = 200,
};
enum StatusCode : quint32 { Ok = 0, EndOfFile = 1, NoSuchFile = 2 };
constexpr quint32 OpenWrite = 0x02, OpenCreate = 0x08, OpenTruncate = 0x10;

void addU32(QByteArray &to, quint32 value);
void addString(QByteArray &to, const QByteArray &value);
QByteArray string(const QByteArray &value);
QByteArray strings(const QByteArray &first, const QByteArray &second);

// Reads the fields of an answer; past the end, every field is empty and
// atEnd() is true.
class Fields {
public:
    explicit Fields(const QByteArray &data) : m_data(data) {}
    quint32 u32();
    QByteArray string();
    // Reads a file's attributes; their permissions when they carry them,
    // else 0.
    quint32 permissions();
    bool atEnd() const { return m_pos >= m_data.size(); }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

} // namespace SftpPacket
