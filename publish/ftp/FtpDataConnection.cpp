#include "FtpDataConnection.h"

#include "FtpControlConnection.h"

#include <QIODevice>
#include <QNetworkProxy>

FtpDataConnection::FtpDataConnection(QObject *parent) : FtpDataChannel(parent)
{
    m_socket.setProxy(QNetworkProxy::NoProxy);
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(FtpControlConnection::ConnectTimeoutMs);
    connect(&m_connectTimer, &QTimer::timeout, this, &FtpDataConnection::fail);
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
    // The server closing the connection before it has the whole file breaks
    // the transfer off, as does any error.
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &FtpDataConnection::fail);
    connect(&m_socket, &QTcpSocket::disconnected, this, &FtpDataConnection::fail);
}

FtpDataConnection::~FtpDataConnection()
{
    m_socket.disconnect(this);
    m_socket.abort();
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
    m_state = State::Done;
    m_connectTimer.stop();
    m_socket.abort();
}

void FtpDataConnection::pump()
{
    // Keep about one block queued in the socket: enough to keep it busy,
    // little enough that memory does not grow with the file.
    while (m_state == State::Sending && !m_sourceAtEnd && m_socket.bytesToWrite() < BlockSize) {
        const QByteArray block = m_source->read(BlockSize);
        if (block.isEmpty()) {
            if (!m_source->atEnd()) {
                fail();
                return;
            }
            m_sourceAtEnd = true;
            break;
        }
        m_socket.write(block);
    }
    if (m_state == State::Sending && m_sourceAtEnd && m_socket.bytesToWrite() == 0) {
        m_state = State::Done;
        m_socket.disconnectFromHost();
        emit sent();
    }
}

void FtpDataConnection::fail()
{
    if (m_state == State::Idle || m_state == State::Done)
        return;
    m_state = State::Done;
    m_connectTimer.stop();
    m_socket.abort();
    emit failed();
}
