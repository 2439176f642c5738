// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QAbstractSocket;

// What Qt's sockets do not offer: ending a connection with a reset rather
// than an orderly close, and closing only the sending half of it.

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
