// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpReply.h"
#include "publish/ftp/FtpReplyReader.h"

#include <QHostAddress>
#include <QObject>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QTimer>

#include <memory>

// The control connection: a line protocol on a socket, driven by the event
// loop. It opens the connection (120 s at most), sends command lines and hands
// on every complete reply. It never waits, so closing it acts at once. After
// AUTH TLS it can be secured: the TLS handshake, with the server's
// certificate verified against the system's authorities and the server's name.
// While a reply or the handshake is awaited, a server silent for 120 s
// breaks the connection.
class FtpControlConnection : public QObject {
    Q_OBJECT

public:
    explicit FtpControlConnection(QObject *parent = nullptr);
    ~FtpControlConnection() override;

    // How long a connection attempt may take; 120 s unless a test says less.
    void setConnectTimeout(int milliseconds) { m_connectTimer.setInterval(milliseconds); }
    int connectTimeout() const { return m_connectTimer.interval(); }
    // How long the server may stay silent while something is awaited from
    // it; 120 s unless a test says less.
    void setSilenceTimeout(int milliseconds) { m_silenceTimer.setInterval(milliseconds); }
    // The server is at work elsewhere, on a data connection: its silence
    // here is no sign of trouble, and the count starts again.
    void serverProgressed();

    // A connection opened secure may be secured by startTls(); a plain one
    // never loads the TLS library.
    void open(const QString &host, quint16 port, bool secure = false);
    // Sends one command line; the CR LF is added here.
    void send(const QByteArray &command);
    // Closes at once, whatever is under way. No QUIT: the server learns of it
    // from the closed connection.
    void close();

    // Starts the TLS handshake on a connection opened secure; secured()
    // follows, or broken(). A certificate that cannot be verified holds the
    // handshake until acceptCertificate() or close().
    void startTls();
    void acceptCertificate();

    bool isOpen() const { return m_state == State::Open; }
    // Final replies the server still owes to the commands sent so far.
    int repliesAwaited() const { return m_repliesAwaited; }
    bool isSecure() const { return tls() && tls()->isEncrypted(); }
    QString hostName() const { return m_host; }
    QHostAddress peerAddress() const { return m_socket ? m_socket->peerAddress() : QHostAddress(); }
    // What the data connections resume: the session and the certificate the
    // control connection ended up with.
    QSslConfiguration tlsConfiguration() const
    {
        const QSslSocket *socket = tls();
        return socket ? socket->sslConfiguration() : QSslConfiguration();
    }
    // Why the connection last broke, in the system's words; empty when it
    // was closed on purpose.
    QString errorText() const { return m_errorText; }

signals:
    void opened();
    void secured();
    // Delivered from the event loop, the handshake held meanwhile.
    void certificateUnverified(const QList<QSslError> &errors, const QSslCertificate &certificate);
    void replyReceived(const FtpReply &reply);
    // The connection could not be made, or was lost, or the server sent
    // something that is not a reply. The connection is closed.
    void broken();
    // A connection that had been made is closed, whoever closed it.
    void closed();

private:
    enum class State { Closed, Opening, Open };

    void onConnected();
    void onReadyRead();
    void onLost();
    bool retryConnecting();
    void shutDown(bool broke);
    void makeSocket(bool secure);
    // Counts the server's silence while a reply or the handshake is awaited,
    // from now; stops counting when nothing is.
    void watchSilence();

    // The socket when the connection was opened secure; null otherwise.
    QSslSocket *tls() const { return qobject_cast<QSslSocket *>(m_socket.get()); }

    // Made by open(); plain until startTls().
    std::unique_ptr<QTcpSocket> m_socket;
    QTimer m_connectTimer;
    QTimer m_silenceTimer;
    FtpReplyReader m_reader;
    int m_repliesAwaited = 0; // final replies; the greeting counts as one
    bool m_handshaking = false;
    QString m_errorText;
    QString m_host;
    quint16 m_port = 0;
    State m_state = State::Closed;
};
