// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpRename.h"

#include "publish/ftp/FtpControlConnection.h"

FtpRename::FtpRename(FtpControlConnection &control, const QString &from, const QString &to,
                     QObject *parent)
    : FtpExchange(control, parent), m_from(from), m_to(to)
{
}

void FtpRename::start()
{
    if (!m_control.isOpen())
        return fail(m_control.errorText());
    // Both names are checked before the first is sent: a server left waiting
    // for an RNTO would take the next command for it.
    if (!canSend("RNTO", m_to) || !send("RNFR", m_from))
        fail();
}

void FtpRename::onReply(const FtpReply &reply)
{
    if (!m_toSent) {
        if (reply.code != 350) {
            m_fromRefusal = reply.code;
            return fail();
        }
        m_toSent = true;
        send("RNTO", m_to);
        return;
    }
    if (reply.code == 250 || reply.code == 200)
        return succeed();
    m_toRefusal = reply.code;
    fail();
}
