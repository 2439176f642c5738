// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FtpDataChannel.h"

#include <QTcpSocket>
#include <QTimer>

// One passive data connection that carries one file to the server. The file
// is read in blocks as the socket takes them, so a large file never sits in
// memory; when all of it is handed on, the sending half is closed, which is
// how the server learns that the file is complete. Whatever the server sends
// on the connection is read and thrown away, so it cannot make us hold it.
// Broken off or aborted, the connection is reset rather than closed: the
// system drops what is still queued, and the server sees the cut.
class FtpDataConnection : public FtpDataChannel {
    Q_OBJECT

public:
    // A few blocks are kept queued, so that one is ready whenever the system
    // can take more, and memory stays bounded.
    static constexpr qint64 QueueLimit = 4 * BlockSize;

    explicit FtpDataConnection(QObject *parent = nullptr);
    ~FtpDataConnection() override;

    void open(const QHostAddress &address, quint16 port) override;
    void send(QIODevice *source) override;
    // Resets the connection at once unless the whole file went out; nothing
    // more is sent and nothing is reported.
    void abort() override;
    QString errorText() const override { return m_errorText; }

    // Bytes the server sent on the connection, all of them thrown away.
    qint64 bytesDiscarded() const { return m_discarded; }

private:
    enum class State { Idle, Opening, Open, Sending, Sent, Done };

    void pump();
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
