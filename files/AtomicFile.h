// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// Replaces a file whole or not at all. The bytes go to a temporary file
// beside it, which is renamed over it only once every byte was written out;
// on any failure the earlier file stays byte for byte as it was.
namespace AtomicFile {

// A link in the file's place is never written through: it may lead out of
// the folder, to a file that is not ours. With permissions, the temporary
// file gets them before its first byte; without, it takes the earlier
// file's, or the usual ones for a new file. Returns true on success.
bool write(const QString &path, const QByteArray &bytes,
           std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// True when the name is a symbolic link, whether or not it leads anywhere.
bool isLink(const QString &path);

} // namespace AtomicFile
