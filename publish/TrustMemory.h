// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The certificates the user chose to trust although they could not be
// verified, one per server: what the secure login lets through unasked, and
// where it keeps the user's Yes.
class TrustMemory {
public:
    virtual ~TrustMemory() = default;

    // The SHA-256 fingerprint (hex) trusted for the server; empty when none.
    virtual QString trusted(const QString &server) const = 0;
    virtual void remember(const QString &server, const QString &fingerprint) = 0;

    // How a server is named here: the bare host on the protocol's own port
    // (the form kept entries without a port have), and "host:port" on any
    // other.
    static QString serverKey(const QString &host, quint16 port, quint16 defaultPort)
    {
        if (port == defaultPort)
            return host;
        const QString name = host.contains(u':') ? u'[' + host + u']' : host;
        return name + u':' + QString::number(port);
    }
};
