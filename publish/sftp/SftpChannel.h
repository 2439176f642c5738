// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/sftp/SftpPacketStream.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

#include <libssh/libssh.h>

class QIODevice;
class SftpStop;

// The SFTP conversation (version 3, as OpenSSH's server speaks it) on one
// channel of a logged-in SSH session. Files go as a stream of writes with
// many in flight (SftpUploadPipeline). Every call waits on the server, at
// most the silence limit at a time, and gives up at once when the stop is
// requested. Only answers to requests of ours count
// as the server speaking; an answer to a request never made is a fault of
// the server's. Paths are bytes, sent as they are.
class SftpChannel {
public:
    SftpChannel(ssh_session session, SftpStop &stop, int silenceMs);
    ~SftpChannel();
    SftpChannel(const SftpChannel &) = delete;
    SftpChannel &operator=(const SftpChannel &) = delete;

    // Opens the channel and agrees on the version.
    bool open();
    // The absolute form of a path, as the server resolves it.
    std::optional<QByteArray> realPath(const QByteArray &path);
    bool isFolder(const QByteArray &path);
    // Writes the source's bytes to the name in the folder. They go under a
    // temporary name first (TemporarySuffix), which then takes the final
    // name: the old file stays whole until the new one is, and no visitor
    // ever gets half a file. A failed or stopped write leaves no temporary
    // file behind where the connection still allows removing it.
    bool upload(QIODevice &source, const QByteArray &folder, const QByteArray &name,
                const std::function<void(qint64 acknowledged)> &progress);
    // Removes what earlier uploads that were cut off left in the folder:
    // their temporary files, and old files set aside whose new one is in
    // place. One listing of the folder, then one removal for each.
    bool removeLeftovers(const QByteArray &folder);

    // Why the last call failed: the server's word, or the connection's;
    // empty when the stop was requested.
    const QString &error() const { return m_error; }
    // The connection failed or went silent: nothing more can be said on it.
    bool isBroken() const { return m_broken; }

private:
    using Reply = SftpPacketStream::Packet;

    quint32 send(quint8 type, const QByteArray &body);
    std::optional<Reply> receive(bool versionPacket = false);
    std::optional<Reply> readPacket();
    std::optional<Reply> await(quint32 id);
    bool succeeded(const std::optional<Reply> &reply);
    // The status code of an answer, or none when it is not a status.
    static std::optional<quint32> statusOf(const std::optional<Reply> &reply);
    bool request(quint8 type, const QByteArray &body) { return succeeded(await(send(type, body))); }
    std::optional<QByteArray> openHandle(quint8 type, const QByteArray &body);
    bool writeAll(QIODevice &source, const QByteArray &handle,
                  const std::function<void(qint64)> &progress);
    bool putInPlace(const QByteArray &temporary, const QByteArray &target, const QByteArray &old);
    std::optional<QList<QByteArray>> list(const QByteArray &folder);
    void abandon(const QByteArray &handle, const QByteArray &temporary);
    bool fail(const QString &error);
    bool breakOff(const QString &error) { return m_broken = true, fail(error); }

    ssh_session m_session;
    ssh_channel m_channel = nullptr;
    SftpStop &m_stop;
    int m_silenceMs;
    SftpPacketStream m_packets;
    quint32 m_lastId = 0;
    // Requests sent whose answers have yet to come.
    QSet<quint32> m_awaited;
    // Runs while answers are awaited; only an answer to one of them restarts it.
    QDeadlineTimer m_silence;
    bool m_posixRename = false;
    bool m_broken = false;
    // While a cut file is being removed: the stop no longer counts, and the
    // server gets this long.
    std::optional<QDeadlineTimer> m_cleanupDeadline;
    QString m_error;
};
