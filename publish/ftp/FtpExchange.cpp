#include "FtpExchange.h"

#include "FtpCommand.h"
#include "FtpControlConnection.h"

FtpExchange::FtpExchange(FtpControlConnection &control, QObject *parent)
    : QObject(parent), m_control(control)
{
    connect(&m_control, &FtpControlConnection::replyReceived, this, [this](const FtpReply &reply) {
        if (!m_done)
            onReply(reply);
    });
    connect(&m_control, &FtpControlConnection::broken, this, &FtpExchange::fail);
    connect(&m_control, &FtpControlConnection::closed, this, &FtpExchange::fail);
}

bool FtpExchange::send(const char *verb, const QString &argument)
{
    const std::optional<QByteArray> line = ftpCommand(verb, argument);
    if (!line)
        return false;
    m_control.send(*line);
    return true;
}

void FtpExchange::succeed()
{
    end(true);
}

void FtpExchange::fail()
{
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
