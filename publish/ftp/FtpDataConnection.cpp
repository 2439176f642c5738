// SPDX-License-Identifier: GPL-3.0-or-later
#include "FtpDataConnection.h"

#include "FtpControlConnection.h"
#include "SocketShutdown.h"

#include <QIODevice>
#include <QNetworkProxy>

FtpDataConnection::FtpDataConnection(QObject *parent) : FtpDataChannel(parent)
{
    m_socket.setProxy(QNetworkProxy::NoProxy);
    m_socket.setReadBufferSize(DiscardBlockSize);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(FtpControlConnection::ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("La conexión de datos no se estableció a tiempo")); });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        if (m_state != State::Opening)
            return;
        m_connectTimer.stop();
        m_state = State::Open;
        emit opened();
    });
    connect(&m_socket, &QTcpSocket::bytesWritten, this, [this](qint64 bytes) {
        if (m_state != State::Sending)
            return;
        m_sent += bytes;
        emit progress(m_sent);
        pump();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, [this] {
        m_discarded += discardIncoming(m_socket);
        // A turn of the event loop may be long in coming: take in more than
        // the socket's small buffer holds while here.
        m_discarded += readWaiting(m_socket, m_discard.data(), DiscardBlockSize, QueueLimit);
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &FtpDataConnection::onLost);
    connect(&m_socket, &QTcpSocket::disconnected, this, &FtpDataConnection::onLost);
}

FtpDataConnection::~FtpDataConnection()
{
    m_socket.disconnect(this);
    abort();
}

void FtpDataConnection::open(const QHostAddress &address, quint16 port)
{
    m_state = State::Opening;
    m_connectTimer.start();
    m_socket.connectToHost(address, port);
}

void FtpDataConnection::send(QIODevice *source)
{
    if (m_state != State::Open)
        return;
    m_source = source;
    m_state = State::Sending;
    pump();
}

void FtpDataConnection::abort()
{
    const bool complete = m_state == State::Sent;
    m_state = State::Done;
    m_connectTimer.stop();
    if (complete)
        m_socket.abort();
    else
        resetConnection(m_socket);
}

void FtpDataConnection::pump()
{
    // Keep the queue topped up: enough to keep the connection busy between
    // two turns of the event loop, little enough that memory does not grow
    // with the file.
    while (m_state == State::Sending && !m_sourceAtEnd && m_socket.bytesToWrite() < QueueLimit) {
        const QByteArray block = m_source->read(BlockSize);
        if (block.isEmpty()) {
            if (!m_source->atEnd())
                return fail(m_source->errorString());
            m_sourceAtEnd = true;
            break;
        }
        m_socket.write(block);
    }
    if (m_state == State::Sending && m_sourceAtEnd && m_socket.bytesToWrite() == 0) {
        // Only the sending half is closed: the socket stays open to read, so
        // that anything the server still sends is thrown away rather than
        // turning the end of the file into a reset.
        m_state = State::Sent;
        shutDownSending(m_socket);
        emit sent();
    }
}

void FtpDataConnection::onLost()
{
    // Once the file is out, the server closing its side is the expected end,
    // and whatever happens to the connection then is for its reply to tell.
    if (m_state == State::Sent) {
        m_discarded += discardIncoming(m_socket);
        m_state = State::Done;
        m_socket.abort();
        return;
    }
    // Before that, the server closing the connection breaks the transfer off,
    // as does any error.
    fail(m_socket.errorString());
}

void FtpDataConnection::fail(const QString &reason)
{
    if (m_state == State::Idle || m_state == State::Done)
        return;
    m_errorText = reason;
    abort();
    emit failed();
}
