// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/FaultProxy.h"

#include <QSocketNotifier>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <utility>

namespace {
constexpr int Client = 0, Server = 1;

sockaddr_in socketAddress(const QHostAddress &address, quint16 port)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_port = htons(port);
    in.sin_addr.s_addr = htonl(address.toIPv4Address());
    return in;
}

int listenOn(const QHostAddress &address, quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    const sockaddr_in in = socketAddress(address, port);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr *>(&in), sizeof in) != 0 ||
        ::listen(fd, 16) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

// Closing with a zero linger time sends RST instead of FIN.
void resetAndClose(int fd)
{
    if (fd < 0)
        return;
    const linger now{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
    ::close(fd);
}
} // namespace

struct FaultProxy::Listener {
    int fd = -1;
    bool data = false;
    quint16 serverPort = 0;
    std::unique_ptr<QSocketNotifier> notifier;
    ~Listener() { ::close(fd); }
};

struct FaultProxy::Relay {
    struct End {
        int fd = -1;
        QByteArray out; // waiting to be written to this end
        std::unique_ptr<QSocketNotifier> read, write;
        bool ended = false;    // this end sent FIN
        bool shutDown = false; // we sent FIN to this end
    };
    End ends[2];
    LinkId id;
    bool connecting = true;
    bool stalled = false;
    bool closing = false; // the fault "close": read and dropped until each end goes
    bool dead = false;    // closed, to be let go from the event loop
    int trickleLeft[2] = {0, 0};
    QByteArray held[2]; // from that end, waiting for the trickle
    QTimer trickleTimer;
};

QString FaultProxy::faultName(Fault fault)
{
    static const char *const names[] = {"none", "reset", "close", "stall", "trickle"};
    return QString::fromLatin1(names[int(fault)]);
}

FaultProxy::FaultProxy(QObject *parent) : QObject(parent) {}

FaultProxy::~FaultProxy()
{
    dropAll();
}

bool FaultProxy::listen(const QHostAddress &address, quint16 serverPort,
                        const QList<quint16> &dataPorts, const QHostAddress &server)
{
    m_server = server;
    auto add = [this, &address](quint16 port, bool data, quint16 to) {
        auto listener = std::make_unique<Listener>();
        listener->fd = listenOn(address, port);
        if (listener->fd < 0)
            return false;
        listener->data = data;
        listener->serverPort = to;
        listener->notifier = std::make_unique<QSocketNotifier>(listener->fd, QSocketNotifier::Read);
        Listener *raw = listener.get();
        connect(listener->notifier.get(), &QSocketNotifier::activated, this,
                [this, raw] { accept(*raw); });
        m_listeners.push_back(std::move(listener));
        return true;
    };
    if (!add(0, false, serverPort))
        return false;
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(m_listeners.front()->fd, reinterpret_cast<sockaddr *>(&bound), &length);
    m_port = ntohs(bound.sin_port);
    for (const quint16 port : dataPorts) {
        if (!add(port, true, port))
            return false;
    }
    return true;
}

void FaultProxy::arm(std::unique_ptr<PhaseReader> reader, Phase phase, Fault fault, Link link)
{
    dropAll();
    m_reader = std::move(reader);
    m_phase = phase;
    m_fault = fault;
    m_link = link;
    m_ordinals[0] = m_ordinals[1] = 0;
    m_injected.invalidate();
}

void FaultProxy::dropAll()
{
    for (const auto &relay : m_relays)
        remove(*relay, true);
    m_relays.clear();
}

void FaultProxy::accept(Listener &listener)
{
    const int fd = ::accept4(listener.fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0)
        return;
    auto owned = std::make_unique<Relay>();
    Relay &relay = *owned;
    m_relays.push_back(std::move(owned));
    relay.ends[Client].fd = fd;
    relay.id = {listener.data, m_ordinals[listener.data]++};
    relay.trickleTimer.setInterval(1000);
    connect(&relay.trickleTimer, &QTimer::timeout, this, [this, &relay] {
        for (int from : {Client, Server})
            trickle(relay, from);
    });
    const QList<PhaseMark> marks = m_reader ? m_reader->opened(relay.id) : QList<PhaseMark>{};
    if (strike(relay, Server, marks, {}) && m_fault != Fault::Trickle)
        return;

    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const sockaddr_in to = socketAddress(m_server, listener.serverPort);
    relay.ends[Server].fd = server;
    ::connect(server, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    for (int side : {Client, Server}) {
        Relay::End &end = relay.ends[side];
        end.read = std::make_unique<QSocketNotifier>(end.fd, QSocketNotifier::Read);
        end.write = std::make_unique<QSocketNotifier>(end.fd, QSocketNotifier::Write);
        end.read->setEnabled(false);
        connect(end.read.get(), &QSocketNotifier::activated, this,
                [this, &relay, side] { readable(relay, side); });
        connect(end.write.get(), &QSocketNotifier::activated, this,
                [this, &relay, side] { writable(relay, side); });
        end.write->setEnabled(side == Server); // told when the connection is made
    }
}

void FaultProxy::writable(Relay &relay, int side)
{
    if (relay.dead)
        return;
    if (relay.connecting && side == Server) {
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(relay.ends[Server].fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            remove(relay, true);
            return;
        }
        relay.connecting = false;
        if (!relay.stalled) {
            relay.ends[Client].read->setEnabled(true);
            relay.ends[Server].read->setEnabled(true);
        }
    }
    flush(relay, side);
}

void FaultProxy::readable(Relay &relay, int side)
{
    if (relay.dead)
        return;
    char buffer[64 * 1024];
    const ssize_t got = ::read(relay.ends[side].fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (relay.closing) {
        if (got <= 0) {
            relay.ends[side].read->setEnabled(false);
            relay.ends[side].ended = true;
            endIfDone(relay);
        }
        return;
    }
    if (got < 0) { // reset by that end: reset the other
        remove(relay, true);
        return;
    }
    const Direction direction = side == Client ? Direction::ToServer : Direction::ToClient;
    if (got == 0) {
        relay.ends[side].read->setEnabled(false);
        const QList<PhaseMark> marks =
            m_reader ? m_reader->ended(relay.id, direction) : QList<PhaseMark>{};
        if (strike(relay, side, marks, {}))
            return;
        relay.ends[side].ended = true;
        flush(relay, 1 - side);
        endIfDone(relay);
        return;
    }
    const QByteArrayView bytes(buffer, got);
    const QList<PhaseMark> marks =
        m_reader ? m_reader->bytes(relay.id, direction, bytes) : QList<PhaseMark>{};
    if (!strike(relay, side, marks, bytes))
        forward(relay, side, bytes);
}

bool FaultProxy::strike(Relay &relay, int from, const QList<PhaseMark> &marks, QByteArrayView bytes)
{
    static const bool trace = qEnvironmentVariableIsSet("BRENZO_PROXY_TRACE");
    if (trace) {
        for (const PhaseMark &mark : marks)
            qDebug("proxy: %s link %d: %s at %lld", relay.id.data ? "data" : "control",
                   relay.id.ordinal, qPrintable(phaseName(mark.phase)), qlonglong(mark.at));
    }
    if (m_fault == Fault::None || injected())
        return false;
    for (const PhaseMark &mark : marks) {
        if (mark.phase != m_phase)
            continue;
        const bool wantData = m_link == Link::Data;
        m_injected.start();
        if (relay.id.data == wantData) {
            const qsizetype at = std::clamp<qsizetype>(mark.at, 0, bytes.size());
            forward(relay, from, bytes.first(at));
            inject(relay, from, bytes.sliced(at));
            return true;
        }
        if (Relay *victim = latest(wantData))
            inject(*victim, Server, {});
        return false;
    }
    return false;
}

FaultProxy::Relay *FaultProxy::latest(bool data)
{
    for (auto it = m_relays.rbegin(); it != m_relays.rend(); ++it) {
        if ((*it)->id.data == data && !(*it)->dead)
            return it->get();
    }
    return nullptr;
}

void FaultProxy::inject(Relay &relay, int from, QByteArrayView rest)
{
    if (relay.dead)
        return;
    switch (m_fault) {
    case Fault::None:
        break;
    case Fault::Reset:
        remove(relay, true);
        break;
    case Fault::Close:
        relay.closing = true;
        for (Relay::End &end : relay.ends) {
            if (end.fd < 0)
                continue;
            if (!end.out.isEmpty())
                (void)::write(end.fd, end.out.constData(), end.out.size());
            end.out.clear();
            ::shutdown(end.fd, SHUT_WR);
            end.shutDown = true;
            if (end.write)
                end.write->setEnabled(false);
            if (end.read)
                end.read->setEnabled(true);
            else
                end.ended = true;
        }
        if (relay.ends[Server].fd < 0)
            relay.ends[Server].ended = true;
        endIfDone(relay);
        break;
    case Fault::Stall:
        relay.stalled = true;
        for (Relay::End &end : relay.ends) {
            if (end.read)
                end.read->setEnabled(false);
            if (end.write)
                end.write->setEnabled(false);
        }
        break;
    case Fault::Trickle:
        // What the program waits for slows down: the server's side.
        forward(relay, from, rest);
        relay.trickleLeft[Server] = TrickleBytes;
        relay.trickleTimer.start();
        return;
    }
}

void FaultProxy::forward(Relay &relay, int from, QByteArrayView bytes)
{
    if (relay.dead)
        return;
    if (bytes.isEmpty())
        return;
    if (relay.trickleLeft[from] > 0 || !relay.held[from].isEmpty()) {
        relay.held[from] += bytes.toByteArray();
        return;
    }
    relay.ends[1 - from].out += bytes.toByteArray();
    flush(relay, 1 - from);
}

void FaultProxy::trickle(Relay &relay, int from)
{
    if (relay.dead)
        return;
    if (relay.held[from].isEmpty() && relay.trickleLeft[from] == 0)
        return;
    const int step = relay.trickleLeft[from] > 0 ? 1 : int(relay.held[from].size());
    relay.ends[1 - from].out += relay.held[from].left(step);
    relay.held[from].remove(0, step);
    if (relay.trickleLeft[from] > 0 && step > 0 && !relay.ends[1 - from].out.isEmpty())
        --relay.trickleLeft[from];
    if (relay.trickleLeft[from] == 0 && !relay.held[from].isEmpty()) {
        relay.ends[1 - from].out += relay.held[from];
        relay.held[from].clear();
    }
    flush(relay, 1 - from);
}

void FaultProxy::flush(Relay &relay, int side)
{
    if (relay.dead)
        return;
    Relay::End &end = relay.ends[side];
    if (relay.stalled || relay.closing || end.fd < 0 || (side == Server && relay.connecting))
        return;
    while (!end.out.isEmpty()) {
        const ssize_t wrote = ::write(end.fd, end.out.constData(), end.out.size());
        if (wrote < 0) {
            if (errno == EAGAIN || errno == EINTR)
                break;
            remove(relay, true);
            return;
        }
        end.out.remove(0, wrote);
    }
    end.write->setEnabled(!end.out.isEmpty());
    // The other end's FIN goes on once what it sent before it has.
    if (end.out.isEmpty() && relay.ends[1 - side].ended && relay.held[1 - side].isEmpty() &&
        !end.shutDown) {
        ::shutdown(end.fd, SHUT_WR);
        end.shutDown = true;
    }
    endIfDone(relay);
}

void FaultProxy::endIfDone(Relay &relay)
{
    if (relay.dead)
        return;
    const auto done = [](const Relay::End &end) { return end.ended && end.shutDown; };
    if (done(relay.ends[Client]) && done(relay.ends[Server]))
        remove(relay, false);
}

void FaultProxy::remove(Relay &relay, bool reset)
{
    for (Relay::End &end : relay.ends) {
        end.read.reset();
        end.write.reset();
        if (reset)
            resetAndClose(end.fd);
        else if (end.fd >= 0)
            ::close(end.fd);
        end.fd = -1;
    }
    relay.trickleTimer.stop();
    if (std::exchange(relay.dead, true))
        return;
    // Callers up the stack may still hold it.
    QTimer::singleShot(0, this, [this] {
        std::erase_if(m_relays, [](const auto &owned) { return owned->dead; });
    });
}
