// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace AtomicFile {

bool write(const QString &path, const QByteArray &bytes,
           std::optional<QFileDevice::Permissions> permissions)
{
    if (isLink(path))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions && !file.setPermissions(*permissions))
        return false;
    // A short write is kept in memory until commit(), which renames the file
    // even when writing it out then fails (a full disk): flushing here is
    // what tells. On failure the temporary file is dropped with the device.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return false;
    return file.commit();
}

bool isLink(const QString &path)
{
    return QFileInfo(path).isSymLink();
}

} // namespace AtomicFile
