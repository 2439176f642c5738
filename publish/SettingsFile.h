// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

#include <functional>

// A settings file in QSettings' INI format, changed safely: QSettings itself
// would write it with the usual permissions before making it owner-only,
// would write through a link, and may cut it short on a full disk without a
// word. Here the whole new text is composed first and checked, then replaces
// the file through AtomicFile, owner-only from before its first byte.
namespace SettingsFile {

// Makes the change to the file. Returns true when the file holds it; on
// failure the file is left byte for byte as it was. The file's size or time
// always changes, so that a QSettings that read it before reads it again.
bool change(const QString &fileName, const std::function<void(QSettings &)> &change);

} // namespace SettingsFile
