// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpControlConnection.h"
#include "publish/Transport.h"

#include <QPointer>
#include <QTimer>

class FtpExchange;
class TrustMemory;

// Files travelling by FTP, or by FTP over TLS on the control connection and
// on every data connection, or not at all: one control connection and one
// exchange at a time, files sent in passive mode. A certificate that cannot
// be verified is let through when `trust` knows it for this server, or when
// the user trusts it now.
class FtpTransport : public Transport {
    Q_OBJECT

public:
    FtpTransport(bool secure, TrustMemory &trust, QObject *parent = nullptr);
    ~FtpTransport() override;

    void setLimits(const TransportLimits &limits) override;
    void connectAndLogin(const TransportLogin &login) override;
    void changeDirectory(const QString &folder) override;
    // By FTPS a file travels under a temporary name, which then takes the
    // file's own; by plain FTP, and by FTPS to a server found to know no
    // renaming, it is stored under its own name. Leftovers a cut-off run
    // left are not looked for (the default removeLeftovers()): listing the
    // folder needs a data connection that brings bytes back, which nothing
    // here reads, and the next run that sends the file overwrites its
    // temporary name anyway.
    void store(const QString &localPath, const QString &remoteName) override;
    // The control connection goes without QUIT, any data connection with it.
    // By FTPS a file cut off on its way is under its temporary name: the
    // control connection then stays, out of the run's sight, until the
    // server has removed it, at most TransportLimits::CleanupMs; the run
    // ends at once all the same.
    void close() override;

    bool isConnected() const override;
    QString failureReason() const override { return m_failureReason; }
    Failure failure() const override
    {
        return m_secureRefused ? Failure::NoSecureConnection : Failure::Other;
    }

private:
    void run(FtpExchange *exchange);
    void endWithdrawal();

    FtpControlConnection m_control;
    QPointer<FtpExchange> m_exchange;
    QString m_failureReason;
    bool m_secure;
    TrustMemory &m_trust;
    bool m_secureRefused = false;
    bool m_renamesUnknown = false; // for the rest of the run
    // Closed, but removing a temporary file; for at most m_withdrawLimit.
    QPointer<FtpExchange> m_withdrawn;
    QTimer m_withdrawLimit;
};
