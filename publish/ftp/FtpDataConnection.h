#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

class QIODevice;

// One passive data connection that carries one file to the server. The file
// is read in blocks as the socket takes them, so a large file never sits in
// memory; when all of it is handed on, the connection is closed, which is how
// the server learns that the file is complete.
class FtpDataConnection : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 BlockSize = 64 * 1024;

    explicit FtpDataConnection(QObject *parent = nullptr);
    ~FtpDataConnection() override;

    void open(const QHostAddress &address, quint16 port);
    // Starts sending the source, which must stay open until sent() or failed().
    void send(QIODevice *source);
    // Closes at once; nothing more is sent and nothing is reported.
    void abort();

signals:
    void opened();
    void progress(qint64 bytesSent);
    void sent();   // every byte handed on and the connection closing
    void failed(); // could not connect, broke off, or the file could not be read

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
