// SPDX-License-Identifier: GPL-3.0-or-later
// A TCP proxy that behaves like a slow, distant link, for uploads measured
// as a user with a real connection would see them. Every port from FIRST to
// LAST on LISTEN is forwarded to the same port on TARGET, so an FTP server
// on TARGET with its passive ports in that range is reached through the
// proxy for its data connections too.
//
//   shaping_proxy LISTEN TARGET FIRST LAST RTT_MS KBIT_PER_S
//
// prints "ready" once it listens, and runs until it is killed.
//
// The link: each direction carries KBIT_PER_S kilobits a second, shared by
// every connection, and each byte arrives RTT_MS / 2 after it has gone out.
// A connection accepted here is opened to the target 1.5 round trips later,
// when the last packet of the handshake would reach a distant server, so
// the server's greeting or its answer to a data connection arrives two
// round trips after the client asked for the connection, as on a real
// link. What a side sends is taken only while the link's queue has room, so
// a fast sender is held back by its own socket as it would be by the link.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <deque>
#include <memory>
#include <sys/prctl.h>

namespace {

QElapsedTimer g_clock;

// One direction of the link: bytes go out one after the other at its rate.
struct Direction {
    double nsPerByte = 0;
    qint64 busyUntilNs = 0;

    // When bytes handed over now arrive at the other end.
    qint64 arrival(qint64 bytes, qint64 delayNs)
    {
        busyUntilNs = std::max(busyUntilNs, g_clock.nsecsElapsed()) + qint64(bytes * nsPerByte);
        return busyUntilNs + delayNs;
    }
};

struct LinkSettings {
    qint64 halfRttNs = 0;
    qint64 queueLimit = 0; // bytes of one connection's direction on their way at once
    Direction up, down;
};

// The bytes of one connection in one direction, from the moment they are
// taken from the sender until they are handed to the receiver.
class Pipe : public QObject {
public:
    Pipe(QTcpSocket &from, QTcpSocket &to, Direction &direction, const LinkSettings &link)
        : m_from(from), m_to(to), m_direction(direction), m_link(link)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &Pipe::deliver);
        connect(&m_from, &QTcpSocket::readyRead, this, &Pipe::take);
        connect(&m_from, &QTcpSocket::disconnected, this, [this] {
            m_fromClosed = true;
            take();
        });
    }

    // The receiver is connected: what has arrived for it can be handed on.
    void take()
    {
        while (m_queued < m_link.queueLimit && m_from.bytesAvailable() > 0) {
            const QByteArray bytes =
                m_from.read(std::min<qint64>(4096, m_link.queueLimit - m_queued));
            if (bytes.isEmpty())
                break;
            m_queued += bytes.size();
            m_chunks.push_back({m_direction.arrival(bytes.size(), m_link.halfRttNs), bytes});
        }
        deliver();
    }

    void deliver()
    {
        const qint64 now = g_clock.nsecsElapsed();
        const bool ready = m_to.state() == QAbstractSocket::ConnectedState;
        while (ready && !m_chunks.empty() && m_chunks.front().arrivalNs <= now) {
            m_to.write(m_chunks.front().bytes);
            m_queued -= m_chunks.front().bytes.size();
            m_chunks.pop_front();
        }
        if (!m_chunks.empty()) {
            if (ready)
                m_timer.start(int((m_chunks.front().arrivalNs - now + 999999) / 1000000));
        } else if (m_fromClosed && m_from.bytesAvailable() == 0) {
            // The sender's close arrives after its last byte.
            m_to.disconnectFromHost();
        }
        if (m_queued < m_link.queueLimit && m_from.bytesAvailable() > 0)
            QTimer::singleShot(0, this, &Pipe::take);
    }

private:
    struct Chunk {
        qint64 arrivalNs;
        QByteArray bytes;
    };

    QTcpSocket &m_from;
    QTcpSocket &m_to;
    Direction &m_direction;
    const LinkSettings &m_link;
    std::deque<Chunk> m_chunks;
    qint64 m_queued = 0;
    bool m_fromClosed = false;
    QTimer m_timer;
};

// One accepted connection and its connection to the target.
class Tunnel : public QObject {
public:
    Tunnel(QTcpSocket *client, const QHostAddress &target, quint16 port, LinkSettings &link)
        : m_client(client), m_up(*client, m_server, link.up, link),
          m_down(m_server, *client, link.down, link)
    {
        m_client->setParent(this);
        m_client->setReadBufferSize(64 * 1024);
        m_server.setReadBufferSize(64 * 1024);
        // The link's delays are the proxy's own; the system's wait for more
        // bytes to fill a packet is no part of them.
        m_client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(&m_server, &QTcpSocket::connected, this,
                [this] { m_server.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        connect(&m_server, &QTcpSocket::connected, this, [this] {
            m_up.deliver();
            m_down.take();
        });
        for (QTcpSocket *socket : {m_client, &m_server}) {
            connect(socket, &QTcpSocket::errorOccurred, this,
                    [this](QAbstractSocket::SocketError e) {
                        // A close is carried over by the pipes; anything else
                        // breaks the connection off on both sides.
                        if (e != QAbstractSocket::RemoteHostClosedError)
                            end();
                    });
            connect(socket, &QTcpSocket::disconnected, this, &Tunnel::endWhenBothClosed);
        }
        QTimer::singleShot(int(link.halfRttNs * 3 / 1000000), Qt::PreciseTimer, this,
                           [this, target, port] {
                               m_serverAsked = true;
                               m_server.connectToHost(target, port);
                           });
    }

private:
    void endWhenBothClosed()
    {
        if (m_serverAsked && m_client->state() == QAbstractSocket::UnconnectedState &&
            m_server.state() == QAbstractSocket::UnconnectedState)
            deleteLater();
    }
    void end()
    {
        m_client->abort();
        m_server.abort();
        deleteLater();
    }

    QTcpSocket *m_client;
    QTcpSocket m_server;
    Pipe m_up;
    Pipe m_down;
    bool m_serverAsked = false;
};

} // namespace

int main(int argc, char **argv)
{
    // The benchmark that started the proxy may end without stopping it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 7) {
        std::fprintf(stderr, "usage: %s LISTEN TARGET FIRST LAST RTT_MS KBIT_PER_S\n", argv[0]);
        return 2;
    }
    const QHostAddress listen(args[1]), target(args[2]);
    const quint16 first = quint16(args[3].toUInt()), last = quint16(args[4].toUInt());
    const double rttMs = args[5].toDouble();
    const double bytesPerSecond = args[6].toDouble() * 1000 / 8;

    LinkSettings link;
    link.halfRttNs = qint64(rttMs * 1e6 / 2);
    link.up.nsPerByte = link.down.nsPerByte = 1e9 / bytesPerSecond;
    // What the link holds in flight, and a router's queue of 64 KiB beyond.
    link.queueLimit = qint64(bytesPerSecond * rttMs / 1000) + 64 * 1024;
    g_clock.start();

    std::vector<std::unique_ptr<QTcpServer>> servers;
    for (quint32 port = first; port <= last; ++port) {
        auto server = std::make_unique<QTcpServer>();
        if (!server->listen(listen, quint16(port))) {
            std::fprintf(stderr, "shaping_proxy: cannot listen on %s:%u: %s\n",
                         qPrintable(listen.toString()), port, qPrintable(server->errorString()));
            return 1;
        }
        QTcpServer *raw = server.get();
        QObject::connect(raw, &QTcpServer::newConnection, raw, [raw, target, port, &link] {
            while (QTcpSocket *client = raw->nextPendingConnection())
                new Tunnel(client, target, quint16(port), link);
        });
        servers.push_back(std::move(server));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
