// SPDX-License-Identifier: GPL-3.0-or-later
#include "SocketShutdown.h"

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
