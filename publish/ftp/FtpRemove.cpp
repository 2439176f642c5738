// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpRemove.h"

#include "publish/ftp/FtpControlConnection.h"

FtpRemove::FtpRemove(FtpControlConnection &control, const QString &name, QObject *parent)
    : FtpExchange(control, parent), m_name(name)
{
}

void FtpRemove::start()
{
    if (!m_control.isOpen())
        return fail(m_control.errorText());
    if (!send("DELE", m_name))
        succeed(); // a name that cannot be sent names no file there
}

void FtpRemove::onReply(const FtpReply &reply)
{
    if (!reply.isPreliminary() && m_control.repliesAwaited() == 0)
        succeed();
}
