// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpChannel.h"

#include "publish/sftp/SftpStop.h"

#include <QHash>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>

#include <sys/stat.h>

namespace {

// The packet types, flags and status codes of SFTP version 3.
enum : quint8 {
    Init = 1,
    Version = 2,
    Open = 3,
    Close = 4,
    Write = 6,
    Remove = 13,
    RealPath = 16,
    Stat = 17,
    Status = 101,
    Handle = 102,
    Name = 104,
    Attrs = 105,
    Extended = 200,
};
constexpr quint32 OpenWrite = 0x02, OpenCreate = 0x08, OpenTruncate = 0x10;
constexpr quint32 AttrSize = 0x1, AttrOwner = 0x2, AttrPermissions = 0x4;
constexpr const char *PosixRename = "posix-rename@openssh.com";

// As OpenSSH's client: 32 KiB a write, 64 writes in flight.
constexpr int BlockSize = 32 * 1024;
constexpr int WritesInFlight = 64;
// Larger answers than this are not SFTP version 3's.
constexpr quint32 LargestReply = 256 * 1024;
// How long removing a cut file may hold up the stop.
constexpr int CleanupMs = 80;

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

// Reads the fields of an answer; past the end, every field is empty.
class Fields {
public:
    explicit Fields(const QByteArray &data) : m_data(data) {}
    quint32 u32()
    {
        if (m_pos + 4 > m_data.size())
            return m_pos = m_data.size(), 0;
        m_pos += 4;
        return qFromBigEndian<quint32>(m_data.constData() + m_pos - 4);
    }
    QByteArray string()
    {
        const quint32 size = u32();
        const QByteArray value = m_data.mid(m_pos, qMin<qsizetype>(size, m_data.size() - m_pos));
        m_pos += value.size();
        return value;
    }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

QByteArray child(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

} // namespace

SftpChannel::SftpChannel(ssh_session session, SftpStop &stop, int silenceMs)
    : m_session(session), m_stop(stop), m_silenceMs(silenceMs)
{
}

SftpChannel::~SftpChannel()
{
    if (m_channel)
        ssh_channel_free(m_channel);
}

bool SftpChannel::fail(const QString &error)
{
    if (m_error.isEmpty() && !m_stop.requested())
        m_error = error;
    return false;
}

bool SftpChannel::open()
{
    m_channel = ssh_channel_new(m_session);
    if (!m_channel || ssh_channel_open_session(m_channel) != SSH_OK ||
        ssh_channel_request_subsystem(m_channel, "sftp") != SSH_OK)
        return fail(QString::fromUtf8(ssh_get_error(m_session)));
    // The first packet carries the version where others carry their number.
    QByteArray init;
    addU32(init, 1 + 4);
    init += char(Init);
    addU32(init, 3);
    if (ssh_channel_write(m_channel, init.constData(), init.size()) != init.size())
        return fail(QString::fromUtf8(ssh_get_error(m_session)));
    const auto version = receive();
    if (!version)
        return false;
    if (version->type != Version)
        return fail(QStringLiteral("El servidor no habla SFTP"));
    // The version came where an answer's number goes; the extensions follow.
    Fields fields(version->body);
    for (QByteArray name = fields.string(); !name.isEmpty(); name = fields.string()) {
        fields.string();
        m_posixRename = m_posixRename || name == PosixRename;
    }
    return true;
}

quint32 SftpChannel::send(quint8 type, const QByteArray &body)
{
    const quint32 id = ++m_lastId;
    QByteArray packet;
    packet.reserve(9 + body.size());
    addU32(packet, quint32(5 + body.size()));
    packet += char(type);
    addU32(packet, id);
    packet += body;
    if (ssh_channel_write(m_channel, packet.constData(), quint32(packet.size())) != packet.size())
        return breakOff(QString::fromUtf8(ssh_get_error(m_session))), 0;
    return id;
}

// A stop is heeded only between packets: the answers that follow must still
// be read whole, to remove a cut file.
bool SftpChannel::readExact(char *data, int size, bool packetStart)
{
    QDeadlineTimer silence(m_cleanupDeadline ? *m_cleanupDeadline : QDeadlineTimer(m_silenceMs));
    while (size > 0) {
        if (packetStart && !m_cleanupDeadline && m_stop.requested())
            return fail(QString());
        const int slice = int(std::clamp<qint64>(silence.remainingTime(), 0, 50));
        const int read = ssh_channel_read_timeout(m_channel, data, quint32(size), 0, slice);
        if (read < 0)
            return breakOff(QString::fromUtf8(ssh_get_error(m_session)));
        if (read > 0) {
            data += read;
            size -= read;
            packetStart = false;
            if (!m_cleanupDeadline)
                silence.setRemainingTime(m_silenceMs);
        } else if (ssh_channel_is_eof(m_channel) || ssh_channel_is_closed(m_channel)) {
            return breakOff(QStringLiteral("El servidor cerró la conexión"));
        } else if (silence.hasExpired()) {
            return breakOff(QStringLiteral("El servidor dejó de responder durante %1 s.")
                                .arg(m_silenceMs / 1000.0));
        }
    }
    return true;
}

std::optional<SftpChannel::Reply> SftpChannel::receive()
{
    // What the server writes to the channel's error stream (some log there)
    // is dropped: left unread, it would close the channel's window.
    char sink[4096];
    while (ssh_channel_poll(m_channel, 1) > 0 &&
           ssh_channel_read_nonblocking(m_channel, sink, sizeof sink, 1) > 0) {
    }
    char head[9];
    if (!readExact(head, 4, true))
        return std::nullopt;
    const quint32 size = qFromBigEndian<quint32>(head);
    if (size < 5 || size > LargestReply)
        return breakOff(QStringLiteral("El servidor envió un paquete SFTP no válido")),
               std::nullopt;
    if (!readExact(head + 4, 5))
        return std::nullopt;
    Reply reply;
    reply.type = quint8(head[4]);
    reply.id = qFromBigEndian<quint32>(head + 5);
    reply.body.resize(size - 5);
    if (!readExact(reply.body.data(), int(reply.body.size())))
        return std::nullopt;
    return reply;
}

std::optional<SftpChannel::Reply> SftpChannel::await(quint32 id)
{
    if (id == 0)
        return std::nullopt;
    // Answers to writes abandoned earlier may come first.
    while (auto reply = receive()) {
        if (reply->id == id)
            return reply;
    }
    return std::nullopt;
}

bool SftpChannel::succeeded(const std::optional<Reply> &reply)
{
    if (!reply)
        return false;
    Fields fields(reply->body);
    if (reply->type != Status)
        return fail(QStringLiteral("El servidor envió una respuesta SFTP inesperada"));
    const quint32 code = fields.u32();
    if (code == 0)
        return true;
    const QByteArray message = fields.string();
    return fail(message.isEmpty()
                    ? QStringLiteral("El servidor SFTP respondió con el error %1").arg(code)
                    : QString::fromUtf8(message));
}

std::optional<QByteArray> SftpChannel::realPath(const QByteArray &path)
{
    const auto reply = await(send(RealPath, string(path)));
    if (!reply || reply->type != Name)
        return succeeded(reply), std::nullopt;
    Fields fields(reply->body);
    return fields.u32() == 0 ? std::nullopt : std::optional(fields.string());
}

bool SftpChannel::isFolder(const QByteArray &path)
{
    const auto reply = await(send(Stat, string(path)));
    if (!reply || reply->type != Attrs)
        return succeeded(reply);
    Fields fields(reply->body);
    const quint32 flags = fields.u32();
    if (flags & AttrSize)
        fields.u32(), fields.u32();
    if (flags & AttrOwner)
        fields.u32(), fields.u32();
    if ((flags & AttrPermissions) && S_ISDIR(fields.u32()))
        return true;
    return fail(QStringLiteral("%1 no es una carpeta").arg(QString::fromUtf8(path)));
}

std::optional<QByteArray> SftpChannel::openForWriting(const QByteArray &path)
{
    QByteArray body = string(path);
    addU32(body, OpenWrite | OpenCreate | OpenTruncate);
    addU32(body, 0); // no attributes: the server's usual ones
    const auto reply = await(send(Open, body));
    if (!reply || reply->type != Handle)
        return succeeded(reply), std::nullopt;
    return Fields(reply->body).string();
}

bool SftpChannel::upload(QIODevice &source, const QByteArray &folder, const QByteArray &name,
                         const std::function<void(qint64)> &progress)
{
    m_error.clear();
    const QByteArray target = child(folder, name);
    const QByteArray temporary =
        m_posixRename ? child(folder, '.' + name + ".brenzo-tmp") : QByteArray();
    const auto handle = openForWriting(m_posixRename ? temporary : target);
    if (!handle)
        return false;
    if (!writeAll(source, *handle, progress)) {
        abandon(*handle, temporary);
        return false;
    }
    if (!m_posixRename)
        return true;
    QByteArray rename = string(PosixRename);
    addString(rename, temporary);
    addString(rename, target);
    if (!request(Extended, rename)) {
        abandon(QByteArray(), temporary);
        return false;
    }
    return true;
}

// Writes the file and closes it. The close follows the last write without
// waiting for its answer: a small file then costs one round trip less. The
// server closes the file only after every write to it.
bool SftpChannel::writeAll(QIODevice &source, const QByteArray &handle,
                           const std::function<void(qint64)> &progress)
{
    QHash<quint32, qint64> inFlight;
    qint64 offset = 0;
    qint64 acknowledged = 0;
    bool atEnd = false;
    quint32 closing = 0;
    std::optional<Reply> closed;
    QByteArray block(BlockSize, Qt::Uninitialized);
    for (;;) {
        // The channel's window is not waited on while answers are due: they
        // are read first, and the window reopens with them.
        while (!atEnd && inFlight.size() < WritesInFlight && !m_stop.requested() &&
               (inFlight.isEmpty() || ssh_channel_window_size(m_channel) > 2 * BlockSize)) {
            const qint64 read = source.read(block.data(), BlockSize);
            if (read < 0)
                return fail(source.errorString());
            atEnd = read == 0;
            if (atEnd)
                break;
            QByteArray body = string(handle);
            addU32(body, quint32(offset >> 32));
            addU32(body, quint32(offset));
            addString(body, QByteArray::fromRawData(block.constData(), read));
            const quint32 id = send(Write, body);
            if (id == 0)
                return false;
            inFlight.insert(id, read);
            offset += read;
        }
        if (atEnd && closing == 0 && (closing = send(Close, string(handle))) == 0)
            return false;
        if (m_stop.requested())
            return fail(QString());
        if (inFlight.isEmpty() && closed)
            return succeeded(closed);
        auto reply = receive();
        if (!reply)
            return false;
        if (reply->id == closing) {
            closed = std::move(reply);
            continue;
        }
        const qint64 length = inFlight.take(reply->id);
        if (!succeeded(reply))
            return false;
        acknowledged += length;
        progress(acknowledged);
    }
}

// Closes the handle and removes the temporary file, whichever are given,
// without losing the reason of the failure that led here. The removal's
// answer comes after those of the writes still in flight. After a stop this
// is brief: a connection that does not answer at once is left to its fate.
void SftpChannel::abandon(const QByteArray &handle, const QByteArray &temporary)
{
    // A server that went silent is not waited on a second time.
    if (m_broken)
        return;
    const QString error = m_error;
    if (m_stop.requested())
        m_cleanupDeadline = QDeadlineTimer(CleanupMs);
    if (!handle.isEmpty())
        send(Close, string(handle));
    if (!temporary.isEmpty())
        request(Remove, string(temporary));
    m_cleanupDeadline.reset();
    m_error = error;
}
