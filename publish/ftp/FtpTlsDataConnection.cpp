// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpTlsDataConnection.h"

#include "publish/ftp/SocketShutdown.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// About one block waiting to be encrypted or sent: the socket stays busy and
// memory does not grow with the file.
FtpTlsDataConnection::FtpTlsDataConnection(const QString &serverName,
                                           const QSslConfiguration &control, QObject *parent)
    : FtpDataChannel(std::make_unique<QSslSocket>(), BlockSize, parent), m_serverName(serverName),
      m_certificate(control.peerCertificate())
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    configuration.setSessionTicket(control.sessionTicket());
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    tls().setSslConfiguration(configuration);

    connect(&tls(), &QSslSocket::encrypted, this, &FtpTlsDataConnection::connectionReady);
    // The same server, and the certificate the user already accepted (or
    // that was verified) on the control connection: nothing new to ask.
    connect(&tls(), &QSslSocket::sslErrors, this, [this] {
        if (!m_certificate.isNull() && tls().peerCertificate() == m_certificate)
            tls().ignoreSslErrors();
    });
    connect(&tls(), &QSslSocket::encryptedBytesWritten, this, &FtpTlsDataConnection::pump);
}

FtpTlsDataConnection::~FtpTlsDataConnection()
{
    releaseHeldConnection();
}

void FtpTlsDataConnection::abort()
{
    FtpDataChannel::abort();
    // Aborted after the end of the file, maybe before the TLS close was out:
    // the held descriptor still marks the end of the stream before it goes
    // (once more, when it already did).
    shutDownSending(m_held);
    releaseHeldConnection();
}

void FtpTlsDataConnection::connectTo(const QHostAddress &address, quint16 port)
{
    // The server's name, not the address, is what its certificate names.
    tls().connectToHostEncrypted(address.toString(), port, m_serverName);
}

qint64 FtpTlsDataConnection::queued() const
{
    return tls().bytesToWrite() + tls().encryptedBytesToWrite();
}

void FtpTlsDataConnection::endFile()
{
#ifdef Q_OS_UNIX
    m_held = ::dup(int(tls().socketDescriptor()));
#endif
    // Sends the TLS close; the socket then lets its descriptor go, but ours
    // keeps the connection.
    tls().disconnectFromHost();
}

void FtpTlsDataConnection::lostAfterEnd(bool disconnected)
{
    // The TLS close is on its way: now the end of the stream, so that a
    // server that reads to the end of the connection has it. Anything else
    // is for the server's reply to tell.
    if (disconnected)
        shutDownSending(m_held);
}

void FtpTlsDataConnection::releaseHeldConnection()
{
#ifdef Q_OS_UNIX
    if (m_held >= 0)
        ::close(int(m_held));
#endif
    m_held = -1;
}
