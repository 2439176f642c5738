// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpLogin.h"

#include "publish/ftp/FtpControlConnection.h"

FtpLogin::FtpLogin(FtpControlConnection &control, const QString &host, quint16 port,
                   const QString &user, const QString &password, QObject *parent)
    : FtpExchange(control, parent), m_host(host), m_port(port), m_user(user), m_password(password)
{
    connect(&m_control, &FtpControlConnection::opened, this, [this] { m_state = State::Greeting; });
}

void FtpLogin::setSecure(TrustMemory &trust, const QString &server)
{
    m_trust = &trust;
    m_server = server;
}

void FtpLogin::start()
{
    m_state = State::Connecting;
    m_control.open(m_host, m_port, m_trust != nullptr);
}

void FtpLogin::onReply(const FtpReply &reply)
{
    switch (m_state) {
    case State::Connecting:
        break;
    case State::Greeting:
        if (reply.code != 220)
            return failAndClose();
        return m_trust ? secure() : sendUser();
    case State::Securing:
        break; // FtpAuthTls reads these
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
        if (!m_trust)
            return succeed();
        m_state = State::BufferSize;
        return sendOrFail("PBSZ 0");
    case State::BufferSize:
        if (reply.code != 200)
            return failAndClose();
        m_state = State::Protection;
        return sendOrFail("PROT P");
    case State::Protection:
        if (reply.code != 200)
            return failAndClose();
        return succeed();
    }
}

void FtpLogin::secure()
{
    m_state = State::Securing;
    m_securing = new FtpAuthTls(m_control, *m_trust, m_server, this);
    connect(m_securing, &FtpAuthTls::question, this, &FtpLogin::question);
    connect(m_securing, &FtpExchange::finished, this, [this](bool ok) {
        if (isDone())
            return;
        if (ok)
            return sendUser();
        // Nothing more is sent: no user name, and no falling back to plain.
        m_secureRefused = m_securing->wasRefused();
        fail(m_securing->reason());
        m_control.close();
    });
    m_securing->start();
}

void FtpLogin::sendUser()
{
    m_state = State::User;
    sendOrFail("USER", m_user);
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
