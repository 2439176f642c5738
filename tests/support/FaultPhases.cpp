// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/FaultPhases.h"

#include <QtEndian>

#include <utility>

namespace {
constexpr quint8 TlsApplicationData = 23;
// SSH packets longer than this from the client carry a file's data.
constexpr qsizetype DataPacket = 1024;
// TLS records this short are no part of a file.
constexpr qsizetype ShortRecord = 100;
constexpr int ToServer = 0, ToClient = 1;
int side(Direction direction)
{
    return direction == Direction::ToServer ? ToServer : ToClient;
}
} // namespace

QString phaseName(Phase phase)
{
    static const char *const names[] = {"connect",       "greeting",   "handshake", "login",
                                        "folder",        "file start", "mid-file",  "file end",
                                        "between files", "page",       "check"};
    return QString::fromLatin1(names[int(phase)]);
}

QList<TlsRecords::Record> TlsRecords::feed(QByteArrayView bytes)
{
    QList<Record> records;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (m_bodyLeft > 0) {
            const qsizetype step = std::min(m_bodyLeft, bytes.size() - at);
            m_bodyLeft -= step;
            at += step;
            continue;
        }
        const qsizetype headerAt = at - m_header.size();
        const qsizetype take = std::min<qsizetype>(5 - m_header.size(), bytes.size() - at);
        m_header += bytes.sliced(at, take).toByteArray();
        at += take;
        if (m_header.size() < 5)
            break;
        Record record{quint8(m_header[0]), qFromBigEndian<quint16>(m_header.constData() + 3),
                      std::max<qsizetype>(headerAt, 0)};
        m_bodyLeft = record.length;
        m_header.clear();
        records.append(record);
    }
    return records;
}

FtpPhases::FtpPhases(bool tls, QList<qint64> sizes, int page)
    : m_tls(tls), m_sizes(std::move(sizes)), m_page(page)
{
}

QList<PhaseMark> FtpPhases::bytes(LinkId link, Direction direction, QByteArrayView bytes)
{
    if (!link.data)
        return control(direction, bytes);
    while (m_sent.size() <= link.ordinal) {
        m_sent.append(0);
        m_dataRecords.append(TlsRecords());
    }
    if (!m_tls)
        return direction == Direction::ToServer ? data(link.ordinal, bytes) : QList<PhaseMark>{};
    // Over TLS the file travels in application records of up to 16 kB; the
    // handshake's last messages (TLS 1.3) are short ones of the same type.
    QList<PhaseMark> marks;
    if (direction == Direction::ToClient)
        return marks;
    for (const TlsRecords::Record &record : m_dataRecords[link.ordinal].feed(bytes)) {
        if (record.type != TlsApplicationData || record.length <= ShortRecord)
            continue;
        for (PhaseMark mark : data(link.ordinal, QByteArray(record.length, 'x'))) {
            mark.at = record.at;
            marks.append(mark);
        }
    }
    return marks;
}

QList<PhaseMark> FtpPhases::data(int ordinal, QByteArrayView bytes)
{
    QList<PhaseMark> marks;
    const qint64 size = m_sizes.value(ordinal);
    const qint64 before = m_sent[ordinal];
    m_sent[ordinal] += bytes.size();
    if (ordinal == 1 && before == 0)
        marks.append({Phase::FileStart, 0});
    if (before < size / 2 && m_sent[ordinal] >= size / 2) {
        const qsizetype at = m_tls ? 0 : qsizetype(size / 2 - before);
        if (ordinal == m_page)
            marks.append({Phase::Page, at});
        if (ordinal == 1)
            marks.append({Phase::FileMiddle, at});
    }
    return marks;
}

QList<PhaseMark> FtpPhases::ended(LinkId link, Direction direction)
{
    if (!link.data || link.ordinal != 1 || direction != Direction::ToServer)
        return {};
    m_afterFile = 0;
    m_answerAwaited = true;
    return {{Phase::FileEnd}};
}

QList<PhaseMark> FtpPhases::control(Direction direction, QByteArrayView bytes)
{
    QList<PhaseMark> marks;
    if (direction == Direction::ToClient && !m_greeted) {
        m_greeted = true;
        marks.append({Phase::Greeting});
    }
    if (direction == Direction::ToClient && m_answerAwaited) {
        m_answerAwaited = false;
        marks.append({Phase::FileEnd});
    }
    if (m_encrypted) {
        if (direction == Direction::ToServer && std::exchange(m_handshakeNext, false))
            marks.append({Phase::Handshake});
        for (const TlsRecords::Record &record : m_records[side(direction)].feed(bytes)) {
            if (record.type != TlsApplicationData)
                continue;
            if (direction == Direction::ToClient) {
                m_serverSpoke = true;
                continue;
            }
            // One command at a time, each answered: the client's records
            // between two answers are one command. In TLS 1.3 the first
            // also carries the end of the handshake, then USER; then PASS,
            // TYPE, SYST, PBSZ, PROT and CWD. After a file, RNFR and RNTO
            // come before the next file's PASV.
            if (!std::exchange(m_serverSpoke, false) && m_commands > 0)
                continue;
            ++m_commands;
            if (m_commands == 2)
                marks.append({Phase::Login, record.at});
            if (m_commands == 7)
                marks.append({Phase::Folder, record.at});
            if (m_afterFile >= 0 && ++m_afterFile == 3)
                marks.append({Phase::BetweenFiles, record.at});
        }
        return marks;
    }
    QByteArray &line = m_line[side(direction)];
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        line += bytes[at];
        if (bytes[at] != '\n')
            continue;
        message(direction, line, at + 1 - line.size(), marks);
        line.clear();
        if (m_encrypted) { // the rest is the TLS handshake
            if (at + 1 < bytes.size())
                marks.append(control(direction, bytes.sliced(at + 1)));
            break;
        }
    }
    return marks;
}

void FtpPhases::message(Direction direction, const QByteArray &text, qsizetype at,
                        QList<PhaseMark> &marks)
{
    at = std::max<qsizetype>(at, 0);
    const QByteArray verb = text.left(4).toUpper();
    if (direction == Direction::ToClient) {
        if (m_tls && text.startsWith("234 ")) {
            m_encrypted = true;
            m_handshakeNext = true;
        }
        return;
    }
    if (verb == "USER")
        marks.append({Phase::Login, at});
    if (verb == "CWD ")
        marks.append({Phase::Folder, at});
    if (m_afterFile >= 0 && (verb == "PASV" || verb == "EPSV") && m_afterFile++ == 0)
        marks.append({Phase::BetweenFiles, at});
}

SshPhases::SshPhases(QList<qint64> sizes, int page) : m_sizes(std::move(sizes)), m_page(page) {}

// Packets whose length field begins in `bytes`. Before the keys are in use a
// packet is its length and that many bytes; after, AES-GCM adds a 16-byte tag.
QList<SshPhases::Packet> SshPhases::packets(Direction direction, QByteArrayView bytes)
{
    const int s = side(direction);
    QList<Packet> found;
    qsizetype at = 0;
    if (!m_bannerSeen[s]) {
        const qsizetype end = bytes.indexOf('\n');
        if (end < 0)
            return found;
        m_bannerSeen[s] = true;
        at = end + 1;
    }
    while (at < bytes.size()) {
        if (m_skip[s] > 0) {
            const qsizetype step = std::min(m_skip[s], bytes.size() - at);
            m_skip[s] -= step;
            at += step;
            if (m_skip[s] == 0 && std::exchange(m_pendingNewKeys[s], false))
                m_encrypted[s] = true;
            continue;
        }
        const qsizetype start = at - m_partial[s].size();
        const qsizetype take = std::min<qsizetype>(6 - m_partial[s].size(), bytes.size() - at);
        m_partial[s] += bytes.sliced(at, take).toByteArray();
        at += take;
        if (m_partial[s].size() < 6)
            break;
        const qsizetype length = qFromBigEndian<quint32>(m_partial[s].constData());
        // Before the keys, the fifth byte is the padding length and the
        // sixth the message number.
        m_skip[s] = length - 2 + (m_encrypted[s] ? 16 : 0);
        if (!m_encrypted[s] && quint8(m_partial[s][5]) == 21) // NEWKEYS
            m_pendingNewKeys[s] = true;
        m_partial[s].clear();
        found.append({std::max<qsizetype>(start, 0), length, m_encrypted[s]});
        if (m_skip[s] == 0 && std::exchange(m_pendingNewKeys[s], false))
            m_encrypted[s] = true;
    }
    return found;
}

QList<PhaseMark> SshPhases::bytes(LinkId, Direction direction, QByteArrayView bytes)
{
    if (direction == Direction::ToServer)
        return fromClient(bytes);
    QList<PhaseMark> marks;
    if (!m_bannerSeen[ToClient])
        marks.append({Phase::Greeting});
    if (std::exchange(m_answerAwaited, false))
        marks.append({Phase::FileEnd});
    packets(direction, bytes);
    return marks;
}

QList<PhaseMark> SshPhases::fromClient(QByteArrayView bytes)
{
    QList<PhaseMark> marks;
    for (const Packet &packet : packets(Direction::ToServer, bytes)) {
        if (!packet.encrypted) {
            if (!std::exchange(m_handshakeSeen, true))
                marks.append({Phase::Handshake, packet.at});
            continue;
        }
        ++m_encryptedPackets;
        // SERVICE_REQUEST, then the user authentication, the channel and
        // the SFTP session; the folder is looked up after them.
        if (m_encryptedPackets == 1)
            marks.append({Phase::Login, packet.at});
        if (m_encryptedPackets == FolderPacket)
            marks.append({Phase::Folder, packet.at});
        if (packet.length > DataPacket && m_file < 0) {
            m_file = ++m_filesSeen;
            m_fileBytes = 0;
            if (m_file == 1)
                marks.append({Phase::FileStart, packet.at});
        }
        if (m_file >= 0) {
            const qint64 size = m_sizes.value(m_file);
            const qint64 before = m_fileBytes;
            m_fileBytes += packet.length;
            if (before < size / 2 && m_fileBytes >= size / 2) {
                if (m_file == m_page)
                    marks.append({Phase::Page, packet.at});
                if (m_file == 1)
                    marks.append({Phase::FileMiddle, packet.at});
            }
            if (m_fileBytes >= size) {
                if (m_file == 1) {
                    m_answerAwaited = true;
                    m_smallAfterFile = 0;
                }
                m_file = -1;
            }
            continue;
        }
        // CLOSE, the rename, then the next file's OPEN.
        if (m_smallAfterFile >= 0 && ++m_smallAfterFile == 3)
            marks.append({Phase::BetweenFiles, packet.at});
    }
    return marks;
}
