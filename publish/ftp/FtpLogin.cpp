// SPDX-License-Identifier: GPL-3.0-or-later
#include "FtpLogin.h"

#include "FtpControlConnection.h"

FtpLogin::FtpLogin(FtpControlConnection &control, const QString &host, quint16 port,
                   const QString &user, const QString &password, QObject *parent)
    : FtpExchange(control, parent), m_host(host), m_port(port), m_user(user), m_password(password)
{
    connect(&m_control, &FtpControlConnection::opened, this, [this] { m_state = State::Greeting; });
}

void FtpLogin::start()
{
    m_state = State::Connecting;
    m_control.open(m_host, m_port);
}

void FtpLogin::onReply(const FtpReply &reply)
{
    switch (m_state) {
    case State::Connecting:
        break;
    case State::Greeting:
        if (reply.code != 220)
            return failAndClose();
        m_state = State::User;
        return sendOrFail("USER", m_user);
    case State::User:
        if (reply.code == 331) {
            m_state = State::Password;
            return sendOrFail("PASS", m_password);
        }
        if (reply.code != 230)
            return failAndClose();
        m_state = State::Type;
        return sendOrFail("TYPE I");
    case State::Password:
        if (reply.code != 230)
            return failAndClose();
        m_state = State::Type;
        return sendOrFail("TYPE I");
    case State::Type:
        if (reply.code != 200)
            return failAndClose();
        m_state = State::System;
        return sendOrFail("SYST");
    case State::System:
        if (reply.code != 200 && reply.code != 215 && reply.code != 500)
            return failAndClose();
        return succeed();
    }
}

void FtpLogin::sendOrFail(const char *verb, const QString &argument)
{
    // A name or password that cannot be sent is refused here, as the server
    // would refuse a wrong one.
    if (!send(verb, argument))
        failAndClose();
}

void FtpLogin::failAndClose()
{
    // Ended first, so that the closing does not take the place of the reason.
    fail();
    m_control.close();
}
