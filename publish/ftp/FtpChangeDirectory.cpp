// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpChangeDirectory.h"

#include "publish/ftp/FtpControlConnection.h"

FtpChangeDirectory::FtpChangeDirectory(FtpControlConnection &control, const QString &folder,
                                       QObject *parent)
    : FtpExchange(control, parent), m_folder(folder)
{
}

void FtpChangeDirectory::start()
{
    if (!m_control.isOpen() || !send("CWD", m_folder))
        fail();
}

void FtpChangeDirectory::onReply(const FtpReply &reply)
{
    if (reply.code == 200 || reply.code == 250)
        succeed();
    else
        fail();
}
