// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpControlConnection.h"

#include "publish/Transport.h"

#include <QNetworkProxy>

FtpControlConnection::FtpControlConnection(QObject *parent) : QObject(parent)
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(TransportLimits{}.connectMs);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        m_errorText = QStringLiteral("El servidor no respondió en %1 s")
                          .arg(m_connectTimer.interval() / 1000.0);
        shutDown(true);
    });
    m_silenceTimer.setSingleShot(true);
    m_silenceTimer.setInterval(TransportLimits{}.silenceMs);
    connect(&m_silenceTimer, &QTimer::timeout, this, [this] {
        m_errorText = QStringLiteral("El servidor dejó de responder durante %1 s.")
                          .arg(m_silenceTimer.interval() / 1000.0);
        shutDown(true);
    });
}

// Each connection gets a socket of its own, of the kind it needs: a plain
// connection never loads the system's TLS library (neither does the
// program's start, which makes the window and its client).
void FtpControlConnection::makeSocket(bool secure)
{
    if (m_socket) {
        // It may be the sender of the signal that led here.
        QTcpSocket *const old = m_socket.release();
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    m_socket.reset(secure ? new QSslSocket : new QTcpSocket);
    QTcpSocket *const socket = m_socket.get();
    socket->setProxy(QNetworkProxy::NoProxy);
    connect(socket, &QTcpSocket::connected, this, &FtpControlConnection::onConnected);
    connect(socket, &QTcpSocket::readyRead, this, &FtpControlConnection::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, [this] {
        m_errorText = m_socket->errorString();
        onLost();
    });
    connect(socket, &QTcpSocket::disconnected, this, &FtpControlConnection::onLost);
    QSslSocket *const tls = this->tls();
    if (!tls)
        return;
    connect(tls, &QSslSocket::encrypted, this, [this] {
        if (m_state != State::Open)
            return;
        m_handshaking = false;
        watchSilence();
        emit secured();
    });
    // The socket pauses on these until told to go on; the question they lead
    // to is asked from the event loop, not from inside the socket's signal.
    connect(tls, &QSslSocket::sslErrors, this, [this, tls](const QList<QSslError> &errors) {
        // The user may take a while to answer; that is no silence of the
        // server's.
        m_silenceTimer.stop();
        QMetaObject::invokeMethod(
            this,
            [this, errors, certificate = tls->peerCertificate()] {
                if (m_state == State::Open)
                    emit certificateUnverified(errors, certificate);
            },
            Qt::QueuedConnection);
    });
}

FtpControlConnection::~FtpControlConnection()
{
    if (!m_socket)
        return;
    // Going away is not news: nothing is told to listeners half torn down.
    m_socket->disconnect(this);
    m_socket->abort();
}

void FtpControlConnection::open(const QString &host, quint16 port, bool secure)
{
    close();
    m_reader = FtpReplyReader();
    m_repliesAwaited = 1;
    m_handshaking = false;
    m_errorText.clear();
    m_state = State::Opening;
    m_host = host;
    m_port = port;
    makeSocket(secure);
    m_connectTimer.start();
    m_socket->connectToHost(host, port);
}

void FtpControlConnection::send(const QByteArray &command)
{
    if (m_state != State::Open)
        return;
    m_socket->write(command + "\r\n");
    // Hand the line to the system now, not on the next turn of the event
    // loop: a STOR must be on its way before the data connection is opened.
    m_socket->flush();
    ++m_repliesAwaited;
    watchSilence();
}

void FtpControlConnection::close()
{
    if (m_state != State::Closed)
        m_errorText.clear();
    shutDown(false);
}

void FtpControlConnection::startTls()
{
    if (m_state != State::Open)
        return;
    QSslSocket *const tls = this->tls();
    if (!tls) {
        m_errorText = QStringLiteral("La conexión no se abrió para hablar TLS");
        return shutDown(true);
    }
    // Until the handshake, the connection is in plain text, and anything
    // after the 234 could be anyone's: read once the connection is secure,
    // it would pass for the start of the server's protected replies.
    if (!m_reader.isIdle() || m_socket->bytesAvailable() > 0) {
        m_errorText =
            QStringLiteral("El servidor envió datos sin cifrar tras aceptar la conexión segura");
        return shutDown(true);
    }
    m_reader = FtpReplyReader();
    m_handshaking = true;
    watchSilence();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    // Keeps the session, which the data connections resume: many servers
    // accept a data connection only in the control connection's session.
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    tls->setSslConfiguration(configuration);
    tls->setPeerVerifyName(m_host);
    tls->setPauseMode(QAbstractSocket::PauseOnSslErrors);
    tls->startClientEncryption();
}

void FtpControlConnection::acceptCertificate()
{
    QSslSocket *const tls = this->tls();
    if (m_state != State::Open || !tls)
        return;
    tls->ignoreSslErrors();
    tls->resume();
    watchSilence();
}

void FtpControlConnection::serverProgressed()
{
    if (m_silenceTimer.isActive())
        m_silenceTimer.start();
}

void FtpControlConnection::watchSilence()
{
    if (m_state == State::Open && (m_repliesAwaited > 0 || m_handshaking || !m_reader.isIdle()))
        m_silenceTimer.start();
    else
        m_silenceTimer.stop();
}

void FtpControlConnection::onConnected()
{
    if (m_state != State::Opening)
        return;
    m_connectTimer.stop();
    m_state = State::Open;
    emit opened();
    onReadyRead(); // a greeting may have come with the connection
}

void FtpControlConnection::onReadyRead()
{
    if (m_state != State::Open)
        return;
    if (!m_reader.feed(m_socket->readAll())) {
        m_errorText = QStringLiteral("El servidor envió una línea que no es una respuesta FTP");
        shutDown(true);
        return;
    }
    // A reply handler may close the connection; what follows is then dropped.
    while (m_state == State::Open && m_reader.hasReply()) {
        const FtpReply reply = m_reader.takeReply();
        if (!reply.isPreliminary() && m_repliesAwaited > 0)
            --m_repliesAwaited;
        emit replyReceived(reply);
    }
    watchSilence();
}

bool FtpControlConnection::retryConnecting()
{
    // Qt gives up on an address after 30 s of its own, well before the
    // system would; a host that does not answer gets the whole of our time.
    if (m_state != State::Opening || m_socket->error() != QAbstractSocket::SocketTimeoutError ||
        !m_connectTimer.isActive())
        return false;
    QTimer::singleShot(0, this, [this] {
        if (m_state != State::Opening)
            return;
        m_socket->abort();
        m_socket->connectToHost(m_host, m_port);
    });
    return true;
}

void FtpControlConnection::onLost()
{
    if (retryConnecting())
        return;
    // Replies that arrived with the closing are still read first.
    if (m_state == State::Open && m_socket->bytesAvailable() > 0)
        onReadyRead();
    if (m_state != State::Closed && m_errorText.isEmpty())
        m_errorText = m_socket->errorString();
    shutDown(true);
}

void FtpControlConnection::shutDown(bool broke)
{
    if (m_state == State::Closed)
        return;
    const bool wasOpen = m_state == State::Open;
    m_state = State::Closed;
    m_connectTimer.stop();
    m_silenceTimer.stop();
    m_socket->abort();
    if (wasOpen)
        emit closed();
    if (broke)
        emit broken();
}
