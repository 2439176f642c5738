// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpAuthTls.h"

#include <QPointer>

// Connecting and logging in: the greeting (220), USER (230 skips PASS, or
// 331), PASS (230), then TYPE I (200) and SYST (200, 215 or 500, the answer
// itself unused). On failure the connection is closed before the end is
// reported. A secure login secures the connection after the greeting
// (FtpAuthTls), before the user name travels, and after SYST asks for
// protected data connections: PBSZ 0 (200), PROT P (200).
class FtpLogin : public FtpExchange {
    Q_OBJECT

public:
    FtpLogin(FtpControlConnection &control, const QString &host, quint16 port, const QString &user,
             const QString &password, QObject *parent = nullptr);
    // A secure login; a certificate that cannot be verified is let through
    // when `trust` knows it for `server`, or when the user trusts it now.
    void setSecure(TrustMemory &trust, const QString &server);

    void start() override;
    // The server answered AUTH TLS with anything but 234.
    bool secureRefused() const { return m_secureRefused; }

signals:
    void question(std::shared_ptr<TrustQuestion> question);

protected:
    void onReply(const FtpReply &reply) override;

private:
    enum class State {
        Connecting,
        Greeting,
        Securing,
        User,
        Password,
        Type,
        System,
        BufferSize,
        Protection
    };

    void secure();
    void sendUser();
    void sendOrFail(const char *verb, const QString &argument = QString());
    void failAndClose();

    QString m_host;
    quint16 m_port;
    QString m_user;
    QString m_password;
    TrustMemory *m_trust = nullptr; // set for a secure login
    QString m_server;
    QPointer<FtpAuthTls> m_securing;
    bool m_secureRefused = false;
    State m_state = State::Connecting;
};
