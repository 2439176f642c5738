// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QAbstractSocket;

// What Qt's sockets do not offer: ending a connection with a reset rather
// than an orderly close, closing only the sending half of it, and reading
// past the socket's own buffer.

// Drops whatever is still queued for sending and closes the socket so that
// the peer sees a reset, not an orderly end: a server must never take a file
// cut short for a complete one.
void resetConnection(QAbstractSocket &socket);

// Ends the sending half: the peer reads the end of the data, while this side
// can still read what the peer sends until it closes.
void shutDownSending(QAbstractSocket &socket);
// The same for a descriptor of our own: a socket's, kept after the socket has
// let it go. Nothing happens for -1.
void shutDownSending(qintptr descriptor);

// Reads what the system holds for the socket straight into the buffer, up
// to `limit` bytes in all, without waiting; returns how many bytes. The
// socket's own buffer is bypassed, which would take a new block for every
// read.
qint64 readWaiting(QAbstractSocket &socket, char *buffer, qint64 size, qint64 limit);
