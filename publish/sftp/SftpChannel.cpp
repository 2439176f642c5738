// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpChannel.h"

#include "publish/sftp/SftpPacket.h"
#include "publish/sftp/SftpStop.h"
#include "publish/sftp/SftpUploadPipeline.h"
#include "publish/Transport.h"

#include <QIODevice>

#include <algorithm>

#include <sys/stat.h>

using namespace SftpPacket;

namespace {

constexpr const char *PosixRename = "posix-rename@openssh.com";
// The names a file has on the server while it is being replaced: the new one
// as it arrives, and the old one while the new one takes its place where the
// server cannot rename over a file.
constexpr QByteArrayView TemporarySuffix = ".brenzo-tmp";
constexpr QByteArrayView OldSuffix = ".brenzo-old";

// A folder listing that goes on longer than this is not a folder's.
constexpr int MostListingRounds = 10'000;

QByteArray child(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray hidden(const QByteArray &name, QByteArrayView suffix)
{
    return '.' + name + suffix.toByteArray();
}

// The name of the file a leftover stood for, or nothing when the name is
// not a leftover of that kind.
std::optional<QByteArray> leftoverOf(const QByteArray &name, QByteArrayView suffix)
{
    if (name.size() <= suffix.size() + 1 || !name.startsWith('.') || !name.endsWith(suffix))
        return std::nullopt;
    return name.mid(1, name.size() - 1 - suffix.size());
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
    const QByteArray init = SftpPacketStream::frame(Init, 3, {});
    if (ssh_channel_write(m_channel, init.constData(), init.size()) != init.size())
        return fail(QString::fromUtf8(ssh_get_error(m_session)));
    m_silence.setRemainingTime(m_silenceMs);
    const auto version = receive(true);
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
    const QByteArray packet = SftpPacketStream::frame(type, id, body);
    if (ssh_channel_write(m_channel, packet.constData(), quint32(packet.size())) != packet.size())
        return breakOff(QString::fromUtf8(ssh_get_error(m_session))), 0;
    // The server's silence counts from the first request it owes an answer.
    if (m_awaited.isEmpty())
        m_silence.setRemainingTime(m_silenceMs);
    m_awaited.insert(id);
    return id;
}

// A stop is heeded only between packets: the answers that follow must still
// be read whole, to remove a cut file. No more is read than the packet
// under way needs.
std::optional<SftpChannel::Reply> SftpChannel::readPacket()
{
    const QDeadlineTimer silence = m_cleanupDeadline ? *m_cleanupDeadline : m_silence;
    char chunk[16 * 1024];
    while (!m_packets.hasPacket()) {
        if (m_packets.isBroken())
            return breakOff(QStringLiteral("El servidor envió un paquete SFTP no válido")),
                   std::nullopt;
        if (m_packets.isIdle() && !m_cleanupDeadline && m_stop.requested())
            return fail(QString()), std::nullopt;
        const int slice = int(std::clamp<qint64>(silence.remainingTime(), 0, 50));
        const auto wanted = quint32(std::min<qsizetype>(m_packets.missing(), sizeof chunk));
        const int read = ssh_channel_read_timeout(m_channel, chunk, wanted, 0, slice);
        if (read < 0)
            return breakOff(QString::fromUtf8(ssh_get_error(m_session))), std::nullopt;
        if (read > 0)
            m_packets.feed(QByteArrayView(chunk, read));
        else if (ssh_channel_is_eof(m_channel) || ssh_channel_is_closed(m_channel))
            return breakOff(QStringLiteral("El servidor cerró la conexión")), std::nullopt;
        else if (silence.hasExpired())
            return breakOff(QStringLiteral("El servidor dejó de responder durante %1 s.")
                                .arg(m_silenceMs / 1000.0)),
                   std::nullopt;
    }
    return m_packets.takePacket();
}

std::optional<SftpChannel::Reply> SftpChannel::receive(bool versionPacket)
{
    // What the server writes to the channel's error stream (some log there)
    // is dropped: left unread, it would close the channel's window.
    char sink[4096];
    while (ssh_channel_poll(m_channel, 1) > 0 &&
           ssh_channel_read_nonblocking(m_channel, sink, sizeof sink, 1) > 0) {
    }
    auto reply = readPacket();
    if (!reply || versionPacket)
        return reply;
    // Anything else would keep a run alive for ever without a word of use.
    if (!m_awaited.remove(reply->id))
        return breakOff(QStringLiteral("El servidor SFTP respondió a una petición que no se le "
                                       "hizo")),
               std::nullopt;
    m_silence.setRemainingTime(m_silenceMs);
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

std::optional<quint32> SftpChannel::statusOf(const std::optional<Reply> &reply)
{
    if (!reply || reply->type != Status)
        return std::nullopt;
    return Fields(reply->body).u32();
}

bool SftpChannel::succeeded(const std::optional<Reply> &reply)
{
    if (!reply)
        return false;
    Fields fields(reply->body);
    if (reply->type != Status)
        return fail(QStringLiteral("El servidor envió una respuesta SFTP inesperada"));
    const quint32 code = fields.u32();
    if (code == Ok)
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
    if (fields.u32() == 0)
        return fail(QStringLiteral(u"El servidor SFTP no dijo a qué carpeta lleva «%1»")
                        .arg(QString::fromUtf8(path))),
               std::nullopt;
    return fields.string();
}

bool SftpChannel::isFolder(const QByteArray &path)
{
    const auto reply = await(send(Stat, string(path)));
    if (!reply || reply->type != Attrs)
        return succeeded(reply);
    Fields fields(reply->body);
    if (S_ISDIR(fields.permissions()))
        return true;
    return fail(QStringLiteral("%1 no es una carpeta").arg(QString::fromUtf8(path)));
}

std::optional<QByteArray> SftpChannel::openHandle(quint8 type, const QByteArray &body)
{
    const auto reply = await(send(type, body));
    if (!reply || reply->type != Handle)
        return succeeded(reply), std::nullopt;
    return Fields(reply->body).string();
}

bool SftpChannel::upload(QIODevice &source, const QByteArray &folder, const QByteArray &name,
                         const std::function<void(qint64)> &progress)
{
    m_error.clear();
    // From here on a stop may leave a file to remove on the server.
    struct Tidying {
        SftpStop &stop;
        explicit Tidying(SftpStop &stop) : stop(stop) { stop.setTidying(true); }
        ~Tidying() { stop.setTidying(false); }
    } tidying(m_stop);
    const QByteArray target = child(folder, name);
    const QByteArray temporary = child(folder, hidden(name, TemporarySuffix));
    QByteArray open = string(temporary);
    addU32(open, OpenWrite | OpenCreate | OpenTruncate);
    addU32(open, 0); // no attributes: the server's usual ones
    const auto handle = openHandle(Open, open);
    if (!handle)
        return false;
    if (!writeAll(source, *handle, progress)) {
        abandon(*handle, temporary);
        return false;
    }
    if (!putInPlace(temporary, target, child(folder, hidden(name, OldSuffix)))) {
        abandon(QByteArray(), temporary);
        return false;
    }
    return true;
}

// Writes the file and closes it, the writes and the close sent as the
// pipeline says.
bool SftpChannel::writeAll(QIODevice &source, const QByteArray &handle,
                           const std::function<void(qint64)> &progress)
{
    SftpUploadPipeline pipeline(source, handle);
    std::optional<Reply> closed;
    for (;;) {
        // The channel's window is not waited on while answers are due: they
        // are read first, and the window reopens with them.
        while (pipeline.hasRoom() && !m_stop.requested() &&
               (!pipeline.awaitsWrites() ||
                ssh_channel_window_size(m_channel) > 2 * SftpUploadPipeline::BlockSize)) {
            const auto body = pipeline.nextWrite();
            if (!body)
                return fail(source.errorString());
            if (body->isEmpty())
                break;
            const quint32 id = send(Write, *body);
            if (id == 0)
                return false;
            pipeline.wrote(id);
        }
        if (pipeline.closeDue()) {
            const quint32 id = send(Close, pipeline.closeBody());
            if (id == 0)
                return false;
            pipeline.closing(id);
        }
        if (m_stop.requested())
            return fail(QString());
        if (!pipeline.awaitsWrites() && closed)
            return succeeded(closed);
        auto reply = receive();
        if (!reply)
            return false;
        if (pipeline.isClose(reply->id)) {
            closed = std::move(reply);
            continue;
        }
        if (!succeeded(reply))
            return false;
        progress(pipeline.acknowledge(reply->id));
    }
}

// The complete temporary file takes the final name. Where the server cannot
// rename over a file, the old one steps aside first and comes back when the
// new one cannot take its place; a stop does not cut this short, since the
// final name would then be left empty.
bool SftpChannel::putInPlace(const QByteArray &temporary, const QByteArray &target,
                             const QByteArray &old)
{
    if (m_posixRename)
        return request(Extended, string(PosixRename) + strings(temporary, target));
    const bool ownDeadline = !m_cleanupDeadline;
    if (ownDeadline)
        m_cleanupDeadline = QDeadlineTimer(m_silenceMs);
    const auto finish = [this, ownDeadline](bool ok) {
        if (ownDeadline)
            m_cleanupDeadline.reset();
        return ok;
    };
    // What an earlier run cut off here may have left in the way.
    statusOf(await(send(Remove, string(old))));
    if (m_broken)
        return finish(false);
    const auto aside = await(send(Rename, strings(target, old)));
    const auto asideStatus = statusOf(aside);
    if (asideStatus != Ok && asideStatus != NoSuchFile)
        return finish(succeeded(aside));
    const bool hadOld = asideStatus == Ok;
    if (!request(Rename, strings(temporary, target))) {
        const QString error = m_error;
        if (hadOld && !m_broken)
            request(Rename, strings(old, target));
        m_error = error;
        return finish(false);
    }
    // Left behind, it goes with the next run's leftovers.
    if (hadOld)
        statusOf(await(send(Remove, string(old))));
    return finish(true);
}

std::optional<QList<QByteArray>> SftpChannel::list(const QByteArray &folder)
{
    const auto handle = openHandle(OpenDir, string(folder));
    if (!handle)
        return std::nullopt;
    QList<QByteArray> names;
    for (int round = 0;; ++round) {
        const auto reply = await(send(ReadDir, string(*handle)));
        if (!reply)
            return std::nullopt;
        if (reply->type != Name || round == MostListingRounds) {
            if (statusOf(reply) != EndOfFile)
                return succeeded(reply), std::nullopt;
            break;
        }
        Fields fields(reply->body);
        for (quint32 count = fields.u32(); count > 0 && !fields.atEnd(); --count) {
            names.append(fields.string());
            fields.string(); // as ls -l shows it
            fields.permissions();
        }
    }
    statusOf(await(send(Close, string(*handle))));
    return names;
}

bool SftpChannel::removeLeftovers(const QByteArray &folder)
{
    m_error.clear();
    const auto names = list(folder);
    if (!names)
        return false;
    QSet<quint32> removing;
    for (const QByteArray &name : *names) {
        const auto old = leftoverOf(name, OldSuffix);
        // An old file set aside stays while its name is empty: it is all the
        // server holds of that file.
        if (!leftoverOf(name, TemporarySuffix) && !(old && names->contains(*old)))
            continue;
        const quint32 id = send(Remove, string(child(folder, name)));
        if (id == 0)
            return false;
        removing.insert(id);
    }
    // A removal that fails (the file went meanwhile) is no failure of the run.
    while (!removing.isEmpty()) {
        const auto reply = receive();
        if (!reply)
            return false;
        removing.remove(reply->id);
    }
    return true;
}

// Closes the handle and removes the temporary file, whichever are given,
// without losing the reason of the failure that led here. The removal's
// answer comes after those of the writes still in flight. After a stop the
// server gets TransportLimits::CleanupMs for it; a connection that is gone cannot remove
// anything, and the next run to the folder removes what is left.
void SftpChannel::abandon(const QByteArray &handle, const QByteArray &temporary)
{
    // A server that went silent is not waited on a second time.
    if (m_broken)
        return;
    const QString error = m_error;
    if (m_stop.requested())
        m_cleanupDeadline = QDeadlineTimer(TransportLimits::CleanupMs);
    if (!handle.isEmpty())
        send(Close, string(handle));
    if (!temporary.isEmpty())
        request(Remove, string(temporary));
    m_cleanupDeadline.reset();
    m_error = error;
}
