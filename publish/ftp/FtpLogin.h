// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FtpExchange.h"

// Connecting and logging in: the greeting (220), USER (230 skips PASS, or
// 331), PASS (230), then TYPE I (200) and SYST (200, 215 or 500, the answer
// itself unused). On failure the connection is closed before the end is
// reported.
class FtpLogin : public FtpExchange {
    Q_OBJECT

public:
    FtpLogin(FtpControlConnection &control, const QString &host, quint16 port, const QString &user,
             const QString &password, QObject *parent = nullptr);

    void start() override;

protected:
    void onReply(const FtpReply &reply) override;

private:
    enum class State { Connecting, Greeting, User, Password, Type, System };

    void sendOrFail(const char *verb, const QString &argument = QString());
    void failAndClose();

    QString m_host;
    quint16 m_port;
    QString m_user;
    QString m_password;
    State m_state = State::Connecting;
};
