// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/SettingsFile.h"

#include "files/AtomicFile.h"
#include "files/OwnerOnly.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace SettingsFile {
namespace {

// A file of the private folder, thrown away afterwards: every byte checked,
// none synced to disk.
bool writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.setPermissions(OwnerOnly) &&
           file.write(bytes) == bytes.size() && file.flush();
}

// True when the text reads back as everything the settings hold: a file
// that QSettings wrote may have been cut short, so its text is read again
// from a copy written with every byte checked.
bool readsBackAs(const QByteArray &text, const QSettings &settings, const QString &copyName)
{
    if (!writeScratch(copyName, text))
        return false;
    const QSettings copy(copyName, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    return copy.allKeys() == keys && std::all_of(keys.begin(), keys.end(), [&](const QString &key) {
               return copy.value(key) == settings.value(key);
           });
}

// The file's text with the change made, or nothing when it cannot be made
// whole. QSettings composes it on a copy, in a folder of its own that only
// the owner may enter, among the system's temporary files: the settings'
// folder may refuse to let anything be removed from it (append-only), and
// the copies would stay there for good.
std::optional<QByteArray> changedText(const QString &fileName,
                                      const std::function<void(QSettings &)> &change)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    const QTemporaryDir work(QDir::temp().filePath(QStringLiteral("BrenzoFTP-XXXXXX")));
    if (!work.isValid())
        return std::nullopt;
    const QString draftName = work.filePath(QStringLiteral("borrador.conf"));
    QFile current(fileName);
    if (current.exists() &&
        (!current.open(QIODevice::ReadOnly) || !writeScratch(draftName, current.readAll())))
        return std::nullopt;
    QSettings draft(draftName, QSettings::IniFormat);
    change(draft);
    while (!draft.group().isEmpty()) // the change may have left one open
        draft.endGroup();
    draft.sync();
    QFile written(draftName);
    if (draft.status() != QSettings::NoError || !written.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = written.readAll();
    if (!readsBackAs(text, draft, work.filePath(QStringLiteral("prueba.conf"))))
        return std::nullopt;
    return text;
}

} // namespace

bool change(const QString &fileName, const std::function<void(QSettings &)> &change)
{
    const QFileInfo before(fileName);
    const qint64 size = before.exists() ? before.size() : -1;
    const QDateTime time = before.lastModified();
    const std::optional<QByteArray> text = changedText(fileName, change);
    if (!text || !AtomicFile::write(fileName, *text, OwnerOnly))
        return false;
    // QSettings keeps a file it read in memory and takes one of the same size
    // and time, to the millisecond, for unchanged: two quick writes of texts
    // of the same length would leave it with the first.
    QFile after(fileName);
    if (after.size() == size && after.fileTime(QFileDevice::FileModificationTime) <= time &&
        after.open(QIODevice::ReadWrite))
        after.setFileTime(time.addMSecs(1), QFileDevice::FileModificationTime);
    return true;
}

} // namespace SettingsFile
