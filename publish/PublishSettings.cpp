// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/PublishSettings.h"

#include "files/AtomicFile.h"
#include "files/LocalFile.h"
#include "files/OwnerOnly.h"
#include "publish/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <functional>

namespace {

const QString Password = QStringLiteral("Password");
const QString CertificatesGroup = QStringLiteral("Certificados");

// The stored names of the connections, in the order of PublishSettings::Connection.
const QLatin1String ConnectionNames[] = {QLatin1String("ftp"), QLatin1String("ftps"),
                                         QLatin1String("sftp")};

// No application name: on Windows this is HKCU\Software\BrenzoFTP itself.
QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrenzoFTP"));
}

// Every write goes through here. A store that cannot be written is not
// reported: the run goes on with the texts on screen, and they are tried
// again at the next run.
void write(const std::function<void(QSettings &)> &change)
{
#ifdef Q_OS_WIN
    QSettings settings = store();
    change(settings);
    settings.sync();
#else
    // A file, which may hold the password: written whole or left as it was.
    SettingsFile::change(store().fileName(), change);
#endif
}

// A value that is missing or is not a string gives an empty text.
QString readText(const QSettings &settings, const QString &name)
{
    const QVariant value = settings.value(name);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void writeAllButPassword(QSettings &settings, const PublishSettings &values)
{
    settings.setValue(QStringLiteral("Servidor"), values.server);
    settings.setValue(QStringLiteral("Usuario"), values.user);
    settings.setValue(QStringLiteral("Directorio"), values.folder);
    settings.setValue(QStringLiteral("Conexion"), QString(ConnectionNames[int(values.connection)]));
    // Only when there is one: without it, the store is as it always was.
    if (values.address.isEmpty())
        settings.remove(QStringLiteral("Direccion"));
    else
        settings.setValue(QStringLiteral("Direccion"), values.address);
    // Still written, so that an earlier version sharing the store keeps the
    // secure choice. A string like the others: REG_SZ in the registry too.
    const bool ftps = values.connection == PublishSettings::Connection::Ftps;
    settings.setValue(QStringLiteral("FTPS"),
                      ftps ? QStringLiteral("true") : QStringLiteral("false"));
}

PublishSettings::Connection readConnection(const QSettings &settings)
{
    const QString name = readText(settings, QStringLiteral("Conexion"));
    for (int i = 0; i < 3; ++i) {
        if (name == ConnectionNames[i])
            return PublishSettings::Connection(i);
    }
    return readText(settings, QStringLiteral("FTPS")) == QLatin1String("true")
               ? PublishSettings::Connection::Ftps
               : PublishSettings::Connection::Ftp;
}

} // namespace

PublishSettings PublishSettings::load()
{
    const QSettings settings = store();
    return {readText(settings, QStringLiteral("Servidor")),
            readText(settings, QStringLiteral("Usuario")), readText(settings, Password),
            readText(settings, QStringLiteral("Directorio")), readConnection(settings),
            readText(settings, QStringLiteral("Direccion"))};
}

void PublishSettings::saveAllButPassword() const
{
    write([this](QSettings &settings) { writeAllButPassword(settings, *this); });
}

void PublishSettings::savePassword(const QString &password)
{
    write([&password](QSettings &settings) { settings.setValue(Password, password); });
}

void PublishSettings::removePassword()
{
    // Nothing is rewritten when there is nothing to remove.
    if (store().contains(Password))
        write([](QSettings &settings) { settings.remove(Password); });
}

QHash<QString, QString> PublishSettings::trustedCertificates()
{
    QSettings settings = store();
    settings.beginGroup(CertificatesGroup);
    QHash<QString, QString> trusted;
    for (const QString &server : settings.childKeys())
        trusted.insert(server, readText(settings, server));
    return trusted;
}

QString PublishSettings::knownHostsFile()
{
#ifdef Q_OS_WIN
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    const QString folder = QFileInfo(store().fileName()).absolutePath();
#endif
    return folder + QStringLiteral("/BrenzoFTP.known_hosts");
}

QByteArray PublishSettings::trustedHostKeys()
{
    // A pipe in the file's place would hold the program for as long as
    // nobody writes to it.
    QFile file(knownHostsFile());
    if (!LocalFile::openRegular(file, LocalFile::Links::Follow).isEmpty())
        return {};
    return file.readAll();
}

void PublishSettings::saveTrustedHostKeys(const QByteArray &knownHosts)
{
    const QString path = knownHostsFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    AtomicFile::write(path, knownHosts, OwnerOnly);
}

void PublishSettings::saveTrustedCertificate(const QString &server, const QString &fingerprint)
{
    write([&](QSettings &settings) {
        settings.beginGroup(CertificatesGroup);
        settings.setValue(server, fingerprint);
    });
}
