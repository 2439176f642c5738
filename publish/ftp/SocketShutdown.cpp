// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/SocketShutdown.h"

#include <QAbstractSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

void resetConnection(QAbstractSocket &socket)
{
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor != -1) {
        // A linger time of zero makes the close send a reset and discard the
        // send queue, which the system would otherwise go on delivering.
        linger noLinger{};
        noLinger.l_onoff = 1;
        noLinger.l_linger = 0;
        ::setsockopt(descriptor, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&noLinger),
                     sizeof noLinger);
    }
    socket.abort();
}

void shutDownSending(QAbstractSocket &socket)
{
    shutDownSending(socket.socketDescriptor());
}

void shutDownSending(qintptr descriptor)
{
    if (descriptor == -1)
        return;
#ifdef Q_OS_WIN
    ::shutdown(descriptor, SD_SEND);
#else
    ::shutdown(int(descriptor), SHUT_WR);
#endif
}

qint64 readWaiting(QAbstractSocket &socket, char *buffer, qint64 size, qint64 limit)
{
    const qintptr descriptor = socket.socketDescriptor();
    qint64 total = 0;
    while (descriptor != -1 && total < limit) {
#ifdef Q_OS_WIN
        u_long waiting = 0;
        if (::ioctlsocket(descriptor, FIONREAD, &waiting) != 0 || waiting == 0)
            break;
        const int read = ::recv(descriptor, buffer, int(qMin<qint64>(size, waiting)), 0);
#else
        const auto read = ::recv(int(descriptor), buffer, size_t(size), MSG_DONTWAIT);
#endif
        // The end of the stream and errors are left for the socket to find.
        if (read <= 0)
            break;
        total += read;
    }
    return total;
}
