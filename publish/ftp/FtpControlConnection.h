// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FtpReply.h"
#include "FtpReplyReader.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

// The control connection: a line protocol on a socket, driven by the event
// loop. It opens the connection (120 s at most), sends command lines and hands
// on every complete reply. It never waits, so closing it acts at once.
class FtpControlConnection : public QObject {
    Q_OBJECT

public:
    static constexpr int ConnectTimeoutMs = 120 * 1000;

    explicit FtpControlConnection(QObject *parent = nullptr);
    ~FtpControlConnection() override;

    // How long a connection attempt may take; 120 s unless a test says less.
    void setConnectTimeout(int milliseconds) { m_connectTimer.setInterval(milliseconds); }

    void open(const QString &host, quint16 port);
    // Sends one command line; the CR LF is added here.
    void send(const QByteArray &command);
    // Closes at once, whatever is under way. No QUIT: the server learns of it
    // from the closed connection.
    void close();

    bool isOpen() const { return m_state == State::Open; }
    QHostAddress peerAddress() const { return m_socket.peerAddress(); }
    // Why the connection last broke, in the system's words; empty when it
    // was closed on purpose.
    QString errorText() const { return m_errorText; }

signals:
    void opened();
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

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    FtpReplyReader m_reader;
    QString m_errorText;
    QString m_host;
    quint16 m_port = 0;
    State m_state = State::Closed;
};
