// SPDX-License-Identifier: GPL-3.0-or-later
#include "FtpTlsDataConnection.h"

#include "FtpControlConnection.h"
#include "SocketShutdown.h"

#include <QIODevice>
#include <QNetworkProxy>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

FtpTlsDataConnection::FtpTlsDataConnection(const QString &serverName,
                                           const QSslConfiguration &control, QObject *parent)
    : FtpDataChannel(parent), m_serverName(serverName), m_certificate(control.peerCertificate())
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    configuration.setSessionTicket(control.sessionTicket());
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    m_socket.setSslConfiguration(configuration);
    m_socket.setProxy(QNetworkProxy::NoProxy);

    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(FtpControlConnection::ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        m_errorText = QStringLiteral("La conexión de datos no se estableció a tiempo");
        fail();
    });
    connect(&m_socket, &QSslSocket::encrypted, this, [this] {
        if (m_state != State::Opening)
            return;
        m_connectTimer.stop();
        m_state = State::Open;
        emit opened();
    });
    // The same server, and the certificate the user already accepted (or
    // that was verified) on the control connection: nothing new to ask.
    connect(&m_socket, &QSslSocket::sslErrors, this, [this] {
        if (!m_certificate.isNull() && m_socket.peerCertificate() == m_certificate)
            m_socket.ignoreSslErrors();
    });
    connect(&m_socket, &QSslSocket::bytesWritten, this, [this](qint64 bytes) {
        if (m_state != State::Sending)
            return;
        m_sent += bytes;
        emit progress(m_sent);
        pump();
    });
    connect(&m_socket, &QSslSocket::encryptedBytesWritten, this, &FtpTlsDataConnection::pump);
    // A server may say something on the connection; nothing of it is kept.
    connect(&m_socket, &QSslSocket::readyRead, this, [this] { discardIncoming(m_socket); });
    connect(&m_socket, &QSslSocket::errorOccurred, this, &FtpTlsDataConnection::fail);
    connect(&m_socket, &QSslSocket::disconnected, this, [this] {
        if (m_state == State::Done)
            halfClose();
        else
            fail();
    });
}

FtpTlsDataConnection::~FtpTlsDataConnection()
{
    m_socket.disconnect(this);
    m_socket.abort();
    releaseHeldConnection();
}

void FtpTlsDataConnection::open(const QHostAddress &address, quint16 port)
{
    m_state = State::Opening;
    m_connectTimer.start();
    // The server's name, not the address, is what its certificate names.
    m_socket.connectToHostEncrypted(address.toString(), port, m_serverName);
}

void FtpTlsDataConnection::send(QIODevice *source)
{
    if (m_state != State::Open)
        return;
    m_source = source;
    m_state = State::Sending;
    pump();
}

void FtpTlsDataConnection::abort()
{
    const bool cutShort = m_state != State::Done;
    m_state = State::Done;
    m_connectTimer.stop();
    // A file cut short ends in a reset, never in an orderly end that a
    // server could take for the whole file.
    if (cutShort)
        resetConnection(m_socket);
    else
        m_socket.abort();
    releaseHeldConnection();
}

void FtpTlsDataConnection::pump()
{
    // About one block waiting to be encrypted or sent: the socket stays busy
    // and memory does not grow with the file.
    while (m_state == State::Sending && !m_sourceAtEnd &&
           m_socket.bytesToWrite() + m_socket.encryptedBytesToWrite() < BlockSize) {
        const QByteArray block = m_source->read(BlockSize);
        if (block.isEmpty()) {
            if (!m_source->atEnd()) {
                m_errorText = m_source->errorString();
                return fail();
            }
            m_sourceAtEnd = true;
            break;
        }
        m_socket.write(block);
    }
    if (m_state == State::Sending && m_sourceAtEnd && m_socket.bytesToWrite() == 0 &&
        m_socket.encryptedBytesToWrite() == 0)
        finish();
}

void FtpTlsDataConnection::finish()
{
    m_state = State::Done;
#ifdef Q_OS_UNIX
    m_held = ::dup(int(m_socket.socketDescriptor()));
#endif
    // Sends the TLS close; the socket then lets its descriptor go, but ours
    // keeps the connection.
    m_socket.disconnectFromHost();
    emit sent();
}

void FtpTlsDataConnection::halfClose()
{
    // The TLS close is on its way: now the end of the stream, so that a
    // server that reads to the end of the connection has it.
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

void FtpTlsDataConnection::fail()
{
    if (m_state == State::Idle || m_state == State::Done)
        return;
    if (m_errorText.isEmpty())
        m_errorText = m_socket.errorString();
    abort();
    emit failed();
}
