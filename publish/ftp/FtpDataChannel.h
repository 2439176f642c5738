// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractSocket>
#include <QHostAddress>
#include <QIODevice>
#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

// One passive data connection that carries one file to the server: plain
// (FtpDataConnection) or over TLS (FtpTlsDataConnection). Both go the same
// way: a limited time to connect, the file read in blocks as the socket takes
// them, so a large file never sits in memory, and whatever the server sends
// read and thrown away, so it cannot make us hold it. Broken off or aborted,
// the connection is reset rather than closed: the system drops what is still
// queued, and the server sees the cut. What differs is how the connection
// becomes ready to carry the file and how the end of the file is marked.
class FtpDataChannel : public QObject {
    Q_OBJECT

public:
    // How much of the file is read and handed to the socket at a time. Each
    // turn of the event loop hands the system about one block, so the block
    // size sets how often the program must be woken to keep the connection
    // busy.
    static constexpr qint64 BlockSize = 256 * 1024;

    ~FtpDataChannel() override;

    // How long connecting may take; the control connection's limit unless
    // told otherwise.
    void setConnectTimeout(int milliseconds) { m_connectTimer.setInterval(milliseconds); }
    void open(const QHostAddress &address, quint16 port);
    // Starts sending the source, which must stay open until sent() or failed().
    void send(QIODevice *source);
    // Closes at once, with a reset unless the whole file went out; nothing
    // more is sent and nothing is reported.
    virtual void abort();
    // Why the connection failed, in the socket's words; empty when it did not.
    QString errorText() const { return m_errorText; }

signals:
    void opened();
    void progress(qint64 bytesSent);
    void sent();   // every byte handed on and the connection closing
    void failed(); // could not connect, broke off, or the file could not be read

protected:
    // Whatever the server sends is read into one buffer that lives as long as
    // the connection, and dropped: a server that floods the connection costs
    // no memory.
    static constexpr qint64 DiscardBlockSize = 16 * 1024;

    // Blocks are read from the file while fewer than `queueLimit` bytes wait
    // in the socket.
    FtpDataChannel(std::unique_ptr<QAbstractSocket> socket, qint64 queueLimit, QObject *parent);

    QAbstractSocket &socket() const { return *m_socket; }
    // The connection is ready to carry the file.
    void connectionReady();
    // Hands the socket more of the file, or marks its end once all is out.
    void pump();

    virtual void connectTo(const QHostAddress &address, quint16 port) = 0;
    // Bytes handed to the socket and not yet to the system.
    virtual qint64 queued() const { return m_socket->bytesToWrite(); }
    // Called when the server sent something, after the socket's own buffer
    // was emptied: reads more, into `buffer`, if the socket allows it;
    // returns how many bytes.
    virtual qint64 discardWaiting(char * /*buffer*/, qint64 /*size*/) { return 0; }
    // Every byte is out: tells the server that the file is complete.
    virtual void endFile() = 0;
    // After the end of the file, the connection was closed (`disconnected`)
    // or broke. Whatever happens to it then is for the server's reply to
    // tell, so unless told otherwise it is simply closed.
    virtual void lostAfterEnd(bool disconnected);

private:
    enum class State { Idle, Opening, Open, Sending, Sent, Done };

    void onLost(bool disconnected);
    void fail(const QString &reason);
    qint64 discardIncoming();

    std::unique_ptr<QAbstractSocket> m_socket;
    QTimer m_connectTimer;
    qint64 m_queueLimit;
    QIODevice *m_source = nullptr;
    QString m_errorText;
    bool m_sourceAtEnd = false;
    qint64 m_sent = 0;
    State m_state = State::Idle;
    std::array<char, DiscardBlockSize> m_discard;
};
