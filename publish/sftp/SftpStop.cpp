// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpStop.h"

#include <sys/socket.h>

void SftpStop::setSocket(int fd)
{
    std::lock_guard lock(m_mutex);
    m_fd = fd;
}

void SftpStop::cut(bool force)
{
    request();
    if (!force && m_tidying)
        return;
    std::lock_guard lock(m_mutex);
    if (m_fd != -1)
        ::shutdown(m_fd, SHUT_RDWR);
}
