// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHostAddress>
#include <QObject>

class QIODevice;

// One passive data connection that carries one file to the server: plain
// (FtpDataConnection) or over TLS (FtpTlsDataConnection).
class FtpDataChannel : public QObject {
    Q_OBJECT

public:
    // How much of the file is read and handed to the socket at a time. Each
    // turn of the event loop hands the system about one block, so the block
    // size sets how often the program must be woken to keep the connection
    // busy.
    static constexpr qint64 BlockSize = 256 * 1024;

    using QObject::QObject;

    virtual void open(const QHostAddress &address, quint16 port) = 0;
    // Starts sending the source, which must stay open until sent() or failed().
    virtual void send(QIODevice *source) = 0;
    // Closes at once; nothing more is sent and nothing is reported.
    virtual void abort() = 0;
    // Why the connection failed, in the socket's words; empty when it did not.
    virtual QString errorText() const = 0;

signals:
    void opened();
    void progress(qint64 bytesSent);
    void sent();   // every byte handed on and the connection closing
    void failed(); // could not connect, broke off, or the file could not be read
};
