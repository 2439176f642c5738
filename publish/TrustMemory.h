// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What the user chose to trust although it could not be verified: FTPS
// certificates, one per server, and SSH server keys. A secure login lets
// through unasked what is here, and keeps the user's Yes here; how it is
// stored is the keeper's business.
class TrustMemory {
public:
    virtual ~TrustMemory() = default;

    // The SHA-256 fingerprint (hex) trusted for the server; empty when none.
    virtual QString trusted(const QString &server) const = 0;
    virtual void remember(const QString &server, const QString &fingerprint) = 0;

    // The server keys trusted here, as the lines of a known_hosts file in
    // OpenSSH's format; rememberHostKeys() replaces them all.
    virtual QByteArray trustedHostKeys() const = 0;
    virtual void rememberHostKeys(const QByteArray &knownHosts) = 0;

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
