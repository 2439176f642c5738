// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A loopback TCP proxy put between the program and a real server. It
// forwards both ways and, when the phase it is armed for begins on the kind
// of connection it is armed for, injects one fault there:
//   reset    the connection is reset (RST) towards both ends;
//   close    it is closed in order (FIN) towards both ends;
//   stall    nothing more passes either way, the sockets stay open;
//   trickle  from there on, the server's next TrickleBytes bytes pass at one
//            a second, then the rest at full speed.
// Phases are told by a PhaseReader from the bytes that pass. FTP's passive
// data connections come through it as well: it listens on the same port
// numbers as the server's passive range, at an address of its own, and the
// program connects to the control connection's address for its data.
//
//     FaultProxy proxy;
//     proxy.listen(QHostAddress("127.0.0.3"), server.port(), passivePorts);
//     proxy.arm(std::make_unique<FtpPhases>(false, sizes, 0), Phase::Login,
//               FaultProxy::Fault::Stall, FaultProxy::Link::Control);
//     ... publish to 127.0.0.3:proxy.port() ...
//     proxy.dropAll();
//
// BRENZO_PROXY_TRACE=1 in the environment prints every phase as it is told.

#include "tests/support/FaultPhases.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>

#include <memory>
#include <vector>

class FaultProxy : public QObject {
    Q_OBJECT

public:
    enum class Fault { None, Reset, Close, Stall, Trickle };
    enum class Link { Control, Data };
    static constexpr int TrickleBytes = 2;
    static QString faultName(Fault fault);

    explicit FaultProxy(QObject *parent = nullptr);
    ~FaultProxy() override;

    // Takes a free port of `address` for the control connection, forwarded
    // to `server` at serverPort, and each of `dataPorts`, forwarded to the
    // same port of `server`. False when a port cannot be taken.
    bool listen(const QHostAddress &address, quint16 serverPort,
                const QList<quint16> &dataPorts = {},
                const QHostAddress &server = QHostAddress::LocalHost);
    quint16 port() const { return m_port; }

    // Connections from now on are read by `reader`; the fault goes in once.
    // Connections still open are reset first.
    void arm(std::unique_ptr<PhaseReader> reader, Phase phase, Fault fault, Link link);
    bool injected() const { return m_injected.isValid(); }
    // Milliseconds since the fault went in; -1 before.
    qint64 sinceInjected() const { return m_injected.isValid() ? m_injected.elapsed() : -1; }
    // Resets every connection still open.
    void dropAll();

private:
    struct Relay;
    struct Listener;

    void accept(Listener &listener);
    void readable(Relay &relay, int side);
    void writable(Relay &relay, int side);
    void forward(Relay &relay, int from, QByteArrayView bytes);
    void flush(Relay &relay, int side);
    // True when the armed fault went in here.
    bool strike(Relay &relay, int from, const QList<PhaseMark> &marks, QByteArrayView bytes);
    void inject(Relay &relay, int from, QByteArrayView rest);
    void trickle(Relay &relay, int from);
    void endIfDone(Relay &relay);
    void remove(Relay &relay, bool reset);
    Relay *latest(bool data);

    std::vector<std::unique_ptr<Listener>> m_listeners;
    std::vector<std::unique_ptr<Relay>> m_relays;
    QHostAddress m_server;
    quint16 m_port = 0;
    std::unique_ptr<PhaseReader> m_reader;
    Phase m_phase = Phase::Connect;
    Fault m_fault = Fault::None;
    Link m_link = Link::Control;
    int m_ordinals[2] = {0, 0};
    QElapsedTimer m_injected;
};
