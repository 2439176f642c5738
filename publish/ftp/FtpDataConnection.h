// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

class QIODevice;

// One passive data connection that carries one file to the server. The file
// is read in blocks as the socket takes them, so a large file never sits in
// memory; when all of it is handed on, the sending half is closed, which is
// how the server learns that the file is complete. Whatever the server sends
// on the connection is read and thrown away, so it cannot make us hold it.
// Broken off or aborted, the connection is reset rather than closed: the
// system drops what is still queued, and the server sees the cut.
class FtpDataConnection : public QObject {
    Q_OBJECT

public:
    // Each turn of the event loop hands the system one queued block, so the
    // block size sets how often the program must be woken to keep the
    // connection busy; a few blocks are kept queued, so that one is ready
    // whenever the system can take more, and memory stays bounded.
    static constexpr qint64 BlockSize = 256 * 1024;
    static constexpr qint64 QueueLimit = 4 * BlockSize;

    explicit FtpDataConnection(QObject *parent = nullptr);
    ~FtpDataConnection() override;

    void open(const QHostAddress &address, quint16 port);
    // Starts sending the source, which must stay open until sent() or failed().
    void send(QIODevice *source);
    // Resets the connection at once unless the whole file went out; nothing
    // more is sent and nothing is reported.
    void abort();

    // Why it failed, in the system's words.
    QString errorText() const { return m_errorText; }
    // Bytes the server sent on the connection, all of them thrown away.
    qint64 bytesDiscarded() const { return m_discarded; }

signals:
    void opened();
    void progress(qint64 bytesSent);
    void sent();   // every byte handed on and the sending half closed
    void failed(); // could not connect, broke off, or the file could not be read

private:
    enum class State { Idle, Opening, Open, Sending, Sent, Done };

    void pump();
    void discardIncoming();
    void onLost();
    void fail(const QString &reason);

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    QIODevice *m_source = nullptr;
    QString m_errorText;
    bool m_sourceAtEnd = false;
    qint64 m_sent = 0;
    qint64 m_discarded = 0;
    State m_state = State::Idle;
};
