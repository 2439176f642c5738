// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/Transport.h"

#include <QThread>

#include <functional>
#include <memory>

class SftpStop;
class SftpWorker;
class TrustMemory;

// Publishing by SFTP, with libssh. The connection lives on a thread of its
// own, where libssh may wait on the server as it needs; this side only
// passes the calls on and the answers back. A server whose key the user has
// not trusted asks first: the key must be in ~/.ssh/known_hosts or among
// those trusted in Brenzo, which the answer Sí adds it to.
class SftpTransport : public Transport {
    Q_OBJECT

public:
    explicit SftpTransport(TrustMemory &trust, QObject *parent = nullptr);
    ~SftpTransport() override;

    void setLimits(const TransportLimits &limits) override { m_limits = limits; }
    void connectAndLogin(const TransportLogin &login) override;
    void changeDirectory(const QString &folder) override;
    void store(const QString &localPath, const QString &remoteName) override;
    void removeLeftovers() override;
    void close() override;

    bool isConnected() const override { return m_connected; }
    QString failureReason() const override { return m_failureReason; }

private:
    void run(std::function<void(SftpWorker *)> call);
    void onDone(bool ok, const QString &reason);
    void onTrustNeeded(const QString &text, const QByteArray &trusting);
    void retire();

    TrustMemory &m_trust;
    TransportLimits m_limits;
    QThread *m_thread = nullptr;
    SftpWorker *m_worker = nullptr;
    std::shared_ptr<SftpStop> m_stop;
    quint64 m_generation = 0;
    QString m_failureReason;
    bool m_busy = false;
    bool m_connected = false;
};
