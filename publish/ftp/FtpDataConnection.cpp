// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpDataConnection.h"

#include "publish/ftp/SocketShutdown.h"

#include <QTcpSocket>

FtpDataConnection::FtpDataConnection(QObject *parent)
    : FtpDataChannel(std::make_unique<QTcpSocket>(), QueueLimit, parent)
{
    // The socket's own buffer is held to the size of the one that takes in
    // what the server sends, so that it keeps one block rather than take a
    // new one for every read.
    socket().setReadBufferSize(DiscardBlockSize);
    connect(&socket(), &QAbstractSocket::connected, this, &FtpDataConnection::connectionReady);
}

void FtpDataConnection::connectTo(const QHostAddress &address, quint16 port)
{
    socket().connectToHost(address, port);
}

qint64 FtpDataConnection::discardWaiting(char *buffer, qint64 size)
{
    // A turn of the event loop may be long in coming: take in more than the
    // socket's small buffer holds while here.
    return readWaiting(socket(), buffer, size, QueueLimit);
}

void FtpDataConnection::endFile()
{
    // Only the sending half is closed: the socket stays open to read, so that
    // anything the server still sends is thrown away rather than turning the
    // end of the file into a reset.
    shutDownSending(socket());
}
