// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FtpDataChannel.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

// A data connection over TLS. It resumes the control connection's session,
// which servers may insist on (one client in the middle could otherwise take
// the data connection over), and accepts the certificate the control
// connection accepted. Its handshake starts only once the connection is up,
// which is after the transfer command was sent.
//
// The end needs care: the server's session tickets (TLS 1.3) and its own
// close may still be on their way when the last byte is handed on. Closing a
// socket with unread bytes resets the connection, and the server may then
// lose the end of the file. So after the TLS close the connection is only
// half closed, and stays open, unread bytes and all, until it is destroyed,
// by which time the server has answered for the file.
class FtpTlsDataConnection : public FtpDataChannel {
    Q_OBJECT

public:
    FtpTlsDataConnection(const QString &serverName, const QSslConfiguration &control,
                         QObject *parent = nullptr);
    ~FtpTlsDataConnection() override;

    void open(const QHostAddress &address, quint16 port) override;
    void send(QIODevice *source) override;
    void abort() override;
    QString errorText() const override { return m_errorText; }

private:
    enum class State { Idle, Opening, Open, Sending, Done };

    void pump();
    void finish();
    void halfClose();
    void releaseHeldConnection();
    void fail();

    QSslSocket m_socket;
    QTimer m_connectTimer;
    QString m_serverName;
    QSslCertificate m_certificate;
    QIODevice *m_source = nullptr;
    bool m_sourceAtEnd = false;
    qint64 m_sent = 0;
    State m_state = State::Idle;
    QString m_errorText;
    qintptr m_held = -1; // our own descriptor of the finished connection
};
