// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/sftp/KnownHosts.h"
#include "publish/Transport.h"

#include <sys/types.h>

#include <QDeadlineTimer>
#include <QObject>

#include <libssh/callbacks.h>

#include <memory>
#include <optional>

class SftpChannel;
class SftpStop;

// One SSH connection and its SFTP channel, driven from a thread of its own:
// every call here may wait on the server. Each operation ends with done();
// the host key question stops the login until answerTrust(). The keys
// trusted in Brenzo come in with it; a key newly trusted goes out with the
// question, for the settings to keep.
class SftpWorker : public QObject {
    Q_OBJECT

public:
    SftpWorker(std::shared_ptr<SftpStop> stop, QByteArray trustedHostKeys, TransportLogin login,
               TransportLimits limits);
    ~SftpWorker() override;

    void connectAndLogin();
    void answerTrust(bool trust);
    void changeDirectory(const QString &folder);
    void store(const QString &localPath, const QString &remoteName);
    void removeLeftovers();
    // Ends the connection and the thread.
    void finish();

signals:
    void connected();
    void disconnected();
    // `trusting` is Brenzo's list of keys with this server's in it.
    void trustNeeded(const QString &text, const QByteArray &trusting);
    void progress(qint64 bytesSent);
    void done(bool ok, const QString &reason);

private:
    QString openSocket(const QDeadlineTimer &deadline);
    void configure(const QByteArray &sshFolder, const QByteArray &keyTypes);
    void setTimeout(qint64 milliseconds);
    QString noAnswer() const;
    QString authenticate();
    void logIn();
    void succeed() { emit done(true, QString()); }
    // Ends an operation on the channel: a failure that broke the connection
    // closes it.
    void conclude(bool ok);
    // By value: the reason may be the channel's, which closing deletes.
    void failAndClose(QString reason);
    bool ensureReady();
    void tearDown();

    std::shared_ptr<SftpStop> m_stop;
    QByteArray m_trustedHostKeys;
    TransportLogin m_login;
    TransportLimits m_limits;
    int m_socket = -1;
    ino_t m_socketInode = 0; // of m_socket, to know it again
    ssh_session m_session = nullptr;
    ssh_callbacks_struct m_callbacks{};
    std::unique_ptr<SftpChannel> m_channel;
    QByteArray m_folder;
    bool m_saidConnected = false;
};
