// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpExchange.h"

#include "publish/ftp/FtpCommand.h"
#include "publish/ftp/FtpControlConnection.h"

FtpExchange::FtpExchange(FtpControlConnection &control, QObject *parent)
    : QObject(parent), m_control(control)
{
    connect(&m_control, &FtpControlConnection::replyReceived, this, [this](const FtpReply &reply) {
        if (m_done)
            return;
        m_reason = reply.text;
        onReply(reply);
    });
    // Closed comes before broken, and carries the reason already.
    connect(&m_control, &FtpControlConnection::closed, this,
            [this] { fail(m_control.errorText()); });
    connect(&m_control, &FtpControlConnection::broken, this,
            [this] { fail(m_control.errorText()); });
}

bool FtpExchange::send(const char *verb, const QString &argument)
{
    if (!canSend(verb, argument))
        return false;
    m_control.send(*ftpCommand(verb, argument));
    return true;
}

bool FtpExchange::canSend(const char *verb, const QString &argument)
{
    if (ftpCommand(verb, argument))
        return true;
    m_reason = QStringLiteral("%1: el texto lleva un salto de línea o un carácter nulo")
                   .arg(QLatin1String(verb));
    return false;
}

void FtpExchange::succeed()
{
    end(true);
}

void FtpExchange::fail()
{
    end(false);
}

void FtpExchange::fail(const QString &reason)
{
    if (m_done)
        return;
    m_reason = reason;
    end(false);
}

void FtpExchange::end(bool ok)
{
    if (m_done)
        return;
    m_done = true;
    disconnect(&m_control, nullptr, this, nullptr);
    emit finished(ok);
}
