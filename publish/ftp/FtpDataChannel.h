// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHostAddress>
#include <QIODevice>
#include <QObject>

#include <array>

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

protected:
    // Whatever the server sends on the connection is read into one buffer
    // that lives as long as the connection, and dropped: a server that
    // floods the connection costs no memory. The plain socket's own buffer is
    // held to the same size, so that it keeps one block rather than take a
    // new one for every read. Reads everything there is; returns how many bytes.
    static constexpr qint64 DiscardBlockSize = 16 * 1024;
    qint64 discardIncoming(QIODevice &socket)
    {
        qint64 dropped = 0;
        for (qint64 read; (read = socket.read(m_discard.data(), DiscardBlockSize)) > 0;)
            dropped += read;
        return dropped;
    }

    std::array<char, DiscardBlockSize> m_discard;

signals:
    void opened();
    void progress(qint64 bytesSent);
    void sent();   // every byte handed on and the connection closing
    void failed(); // could not connect, broke off, or the file could not be read
};
