// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

#include <libssh/libssh.h>

// The server keys the user has trusted: those in the user's own
// ~/.ssh/known_hosts, which is only read, and those trusted in Brenzo, which
// its settings keep in OpenSSH's format. A line of either that cannot be
// read is passed over; so are "@cert-authority" lines, which grant nothing
// here. A key on a "@revoked" line of either is never trusted.
class KnownHosts {
public:
    enum class Verdict { Known, Unknown, Changed, Revoked };

    // `own` is Brenzo's list; `port` other than 22 makes the entry
    // "[host]:port", as OpenSSH writes it.
    KnownHosts(const QByteArray &own, const QString &userFile, const QString &host, quint16 port);
    // The same with the user's file given rather than read.
    static KnownHosts fromContents(const QByteArray &own, const QByteArray &user,
                                   const QString &host, quint16 port);

    Verdict check(ssh_key serverKey) const;
    // The server's key types to ask for, those already trusted first, as
    // SSH_OPTIONS_HOSTKEYS takes them.
    QByteArray keyTypes() const;
    // What the user is asked before the key is trusted.
    QString question(ssh_key serverKey, Verdict verdict) const;
    // Why a revoked key ends the connection.
    QString revoked(ssh_key serverKey) const;
    // Brenzo's list with the key of the session's server in place of the one
    // it held for that server. Empty, with why in `error`, when libssh cannot
    // give the key's line.
    QByteArray trusting(ssh_session session, QString &error) const;

    // The server as a known_hosts line names it ("host" or "[host]:port").
    const QString &hostEntry() const { return m_hostEntry; }

private:
    KnownHosts(const QString &host, quint16 port, QList<QByteArray> ownLines,
               QList<QByteArray> userLines);

    using Key = std::unique_ptr<ssh_key_struct, decltype(&ssh_key_free)>;
    std::vector<Key> keys() const;
    bool isRevoked(ssh_key serverKey) const;

    QString m_hostEntry;
    QList<QByteArray> m_ownLines;
    QList<QByteArray> m_userLines;
};
