// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FtpAuthTls.h"
#include "FtpControlConnection.h"

#include <QObject>
#include <QPointer>

class FtpExchange;

// The FTP client of the publishing window: one control connection and one
// operation at a time, each reported by finished(ok). Nothing here waits:
// every step goes on from the event loop, so the window stays responsive and
// close() acts at once in every phase. The port is 21 unless a test sets it.
class FtpClient : public QObject {
    Q_OBJECT

public:
    enum class Status { Connecting, Connected, Transferring, Disconnected };
    Q_ENUM(Status)

    explicit FtpClient(QObject *parent = nullptr);
    ~FtpClient() override;

    void setPort(quint16 port) { m_port = port; }
    quint16 port() const { return m_port; }
    // How long connecting may take: 120 s unless a test sets less.
    void setConnectTimeout(int milliseconds) { m_control.setConnectTimeout(milliseconds); }
    // How long the server may stay silent while a reply, the TLS handshake
    // or progress on a data connection is awaited: 120 s unless a test sets
    // less. The run then ends as if the connection had been lost.
    void setSilenceTimeout(int milliseconds) { m_control.setSilenceTimeout(milliseconds); }

    // Opens the control connection and logs in. A failure closes the
    // connection before it is reported. A secure login speaks TLS on the
    // control connection and on every data connection, or not at all; the
    // fingerprint is that of a certificate trusted for this host although it
    // could not be verified.
    void connectAndLogin(const QString &host, const QString &user, const QString &password,
                         bool secure = false, const QString &trustedFingerprint = QString());
    // The user's answer to certificateQuestion(); the login waits for it.
    void answerCertificate(bool trust);
    void changeDirectory(const QString &folder);
    // Sends the local file under the remote name, in passive mode.
    void store(const QString &localPath, const QString &remoteName);
    // Closes the control connection and any data connection at once, without
    // QUIT. An operation under way ends as failed. Harmless when closed.
    void close();

    bool isConnected() const { return m_control.isOpen(); }
    // The last login failed because the server offers no TLS.
    bool secureRefused() const { return m_secureRefused; }
    bool isBusy() const { return !m_exchange.isNull(); }
    // Why the last operation failed: the server's last reply or the error of
    // the connection or the file; empty after success or a close of our own.
    QString failureReason() const { return m_failureReason; }

signals:
    void connected();    // the TCP connection is up; the greeting is not read yet
    void disconnected(); // a connection that was up is closed
    void status(FtpClient::Status status);
    void work(qint64 bytesSent); // bytes of the current file sent so far
    // The end of the operation asked for. Always delivered from the event
    // loop, never from inside the call that started or closed it.
    void finished(bool ok);
    // A secure login met a certificate it cannot verify.
    void certificateQuestion(const CertificateIssue &issue);

private:
    void run(FtpExchange *exchange);

    FtpControlConnection m_control;
    QPointer<FtpExchange> m_exchange;
    QString m_failureReason;
    quint16 m_port = 21;
    bool m_secureRefused = false;
};
