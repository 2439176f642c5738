// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/LocalFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString kLink = QStringLiteral("El archivo es un enlace a otro archivo. Brenzo nunca "
                                     "publica enlaces ni lo que hay tras ellos.");
const QString kNotRegular = QStringLiteral("No es un archivo normal (es una carpeta, un "
                                           "dispositivo o una tubería), y no se envía.");

} // namespace

QString LocalFile::openRegular(QFile &file, Links links)
{
#ifdef Q_OS_UNIX
    // The checks are made on what was opened, not on the name beforehand:
    // the name may be made to lead elsewhere in between.
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), flags);
    if (fd == -1) {
        const int error = errno;
        if (error == ELOOP && links == Links::Refuse)
            return kLink;
        return QString::fromLocal8Bit(std::strerror(error));
    }
    struct stat facts {};
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        ::close(fd);
        return kNotRegular;
    }
    // Reads from a regular file never wait on anyone: the flag that kept a
    // pipe from holding up the open can go.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return QString();
#else
    const QFileInfo info(file.fileName());
    if (links == Links::Refuse && info.isSymLink())
        return kLink;
    if (info.exists() && !info.isFile())
        return kNotRegular;
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
#endif
}
