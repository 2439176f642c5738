#pragma once

#include "FtpDataChannel.h"

#include <QTcpSocket>
#include <QTimer>

// One passive data connection that carries one file to the server. The file
// is read in blocks as the socket takes them, so a large file never sits in
// memory; when all of it is handed on, the connection is closed, which is how
// the server learns that the file is complete.
class FtpDataConnection : public FtpDataChannel {
    Q_OBJECT

public:
    static constexpr qint64 BlockSize = 64 * 1024;

    explicit FtpDataConnection(QObject *parent = nullptr);
    ~FtpDataConnection() override;

    void open(const QHostAddress &address, quint16 port) override;
    void send(QIODevice *source) override;
    void abort() override;
    QString errorText() const override { return m_socket.errorString(); }

private:
    enum class State { Idle, Opening, Open, Sending, Done };

    void pump();
    void fail();

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    QIODevice *m_source = nullptr;
    bool m_sourceAtEnd = false;
    qint64 m_sent = 0;
    State m_state = State::Idle;
};
