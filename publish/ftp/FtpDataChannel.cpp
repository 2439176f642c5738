// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpDataChannel.h"

#include "publish/ftp/SocketShutdown.h"
#include "publish/Transport.h"

#include <QNetworkProxy>

FtpDataChannel::FtpDataChannel(std::unique_ptr<QAbstractSocket> socket, qint64 queueLimit,
                               QObject *parent)
    : QObject(parent), m_socket(std::move(socket)), m_queueLimit(queueLimit)
{
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(TransportLimits{}.connectMs);
    connect(&m_connectTimer, &QTimer::timeout, this,
            [this] { fail(QStringLiteral("La conexión de datos no se estableció a tiempo")); });
    connect(m_socket.get(), &QAbstractSocket::bytesWritten, this, [this](qint64 bytes) {
        if (m_state != State::Sending)
            return;
        m_sent += bytes;
        emit progress(m_sent);
        pump();
    });
    connect(m_socket.get(), &QAbstractSocket::readyRead, this, [this] {
        discardIncoming();
        discardWaiting(m_discard.data(), DiscardBlockSize);
    });
    connect(m_socket.get(), &QAbstractSocket::errorOccurred, this, [this] { onLost(false); });
    connect(m_socket.get(), &QAbstractSocket::disconnected, this, [this] { onLost(true); });
}

FtpDataChannel::~FtpDataChannel()
{
    m_socket->disconnect(this);
    FtpDataChannel::abort();
}

void FtpDataChannel::open(const QHostAddress &address, quint16 port)
{
    m_state = State::Opening;
    m_connectTimer.start();
    connectTo(address, port);
}

void FtpDataChannel::connectionReady()
{
    if (m_state != State::Opening)
        return;
    m_connectTimer.stop();
    m_state = State::Open;
    emit opened();
}

void FtpDataChannel::send(QIODevice *source)
{
    if (m_state != State::Open)
        return;
    m_source = source;
    m_state = State::Sending;
    pump();
}

void FtpDataChannel::abort()
{
    const bool complete = m_state == State::Sent || m_state == State::Done;
    m_state = State::Done;
    m_connectTimer.stop();
    // A file cut short ends in a reset, never in an orderly end that a
    // server could take for the whole file.
    if (complete)
        m_socket->abort();
    else
        resetConnection(*m_socket);
}

void FtpDataChannel::pump()
{
    // Keep the queue topped up: enough to keep the connection busy between
    // two turns of the event loop, little enough that memory does not grow
    // with the file.
    while (m_state == State::Sending && !m_sourceAtEnd && queued() < m_queueLimit) {
        const QByteArray block = m_source->read(BlockSize);
        if (block.isEmpty()) {
            if (!m_source->atEnd())
                return fail(m_source->errorString());
            m_sourceAtEnd = true;
            break;
        }
        m_socket->write(block);
    }
    if (m_state == State::Sending && m_sourceAtEnd && queued() == 0) {
        m_state = State::Sent;
        endFile();
        emit sent();
    }
}

void FtpDataChannel::onLost(bool disconnected)
{
    if (m_state == State::Sent)
        return lostAfterEnd(disconnected);
    // Before the end of the file, the server closing the connection breaks
    // the transfer off, as does any error.
    fail(m_socket->errorString());
}

void FtpDataChannel::lostAfterEnd(bool /*disconnected*/)
{
    discardIncoming();
    m_state = State::Done;
    m_socket->abort();
}

void FtpDataChannel::fail(const QString &reason)
{
    if (m_state == State::Idle || m_state == State::Done)
        return;
    m_errorText = reason;
    abort();
    emit failed();
}

qint64 FtpDataChannel::discardIncoming()
{
    qint64 dropped = 0;
    for (qint64 read; (read = m_socket->read(m_discard.data(), DiscardBlockSize)) > 0;)
        dropped += read;
    return dropped;
}
