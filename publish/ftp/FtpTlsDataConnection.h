// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpDataChannel.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>

// A data connection over TLS. It resumes the control connection's session,
// which servers may insist on (one client in the middle could otherwise take
// the data connection over), and accepts the certificate the control
// connection accepted. Its handshake starts only once the connection is up,
// which is after the transfer command was sent; it is ready once encrypted.
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

    void abort() override;

protected:
    void connectTo(const QHostAddress &address, quint16 port) override;
    qint64 queued() const override;
    void endFile() override;
    void lostAfterEnd(bool disconnected) override;

private:
    QSslSocket &tls() const { return static_cast<QSslSocket &>(socket()); }
    void releaseHeldConnection();

    QString m_serverName;
    QSslCertificate m_certificate;
    qintptr m_held = -1; // our own descriptor of the finished connection
};
