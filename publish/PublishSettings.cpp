// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

// No application name: on Windows this is HKCU\Software\BrenzoFTP itself.
QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrenzoFTP"));
}

[[maybe_unused]] constexpr QFileDevice::Permissions OwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A value that is missing or is not a string gives an empty text.
QString readText(const QSettings &settings, const QString &name)
{
    const QVariant value = settings.value(name);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

PublishSettings PublishSettings::load()
{
    const QSettings settings = store();
    return {readText(settings, QStringLiteral("Servidor")),
            readText(settings, QStringLiteral("Usuario")),
            readText(settings, QStringLiteral("Password")),
            readText(settings, QStringLiteral("Directorio"))};
}

void PublishSettings::save() const
{
    QSettings settings = store();
#ifndef Q_OS_WIN
    // Here the store is a file, and the password is in it in plain text.
    // Made empty and owner-only before anything is written into it.
    const QString fileName = settings.fileName();
    if (!QFileInfo::exists(fileName)) {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        QFile file(fileName);
        if (file.open(QIODevice::WriteOnly))
            file.setPermissions(OwnerOnly);
    }
#endif
    settings.setValue(QStringLiteral("Servidor"), server);
    settings.setValue(QStringLiteral("Usuario"), user);
    settings.setValue(QStringLiteral("Password"), password);
    settings.setValue(QStringLiteral("Directorio"), folder);
    // A store that cannot be written is not reported: the run goes on with
    // the texts on screen, and they are tried again at the next run.
    settings.sync();
#ifndef Q_OS_WIN
    // Rewriting the file may have given it the usual permissions again.
    QFile::setPermissions(fileName, OwnerOnly);
#endif
}
