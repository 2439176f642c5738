// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

// The remembered publishing settings. On Windows they are the REG_SZ values
// "Servidor", "Usuario", "Password", "Directorio", "Conexion", "FTPS" and
// "Direccion" under
// HKEY_CURRENT_USER\Software\BrenzoFTP; elsewhere the same values in the
// user's native settings store of that name. The password is in the store
// only where no keyring keeps it (PasswordStore).
struct PublishSettings {
    // How the files travel: stored as "ftp", "ftps" or "sftp". Where no
    // connection is stored, FTPS=true (as earlier versions kept the choice)
    // reads as FTPS, anything else as FTP.
    enum class Connection { Ftp, Ftps, Sftp };

    QString server;
    QString user;
    QString password;
    QString folder;
    Connection connection = Connection::Ftp;
    // Where visitors see the page; empty when the user gave none.
    QString address = QString();

    // A missing store or value gives an empty text; nothing is reported.
    static PublishSettings load();
    // Writes the values as they are (the caller trims them), leaving the
    // store's password as it is: the password has a store of its own.
    // Where the store is a file, it is readable and writable by its owner
    // only, from before its first byte; it is replaced whole or, on failure
    // (a full disk, a link in its place), left as it was. Each write returns
    // once the store is on disk, which can take long: the window saves
    // through WriterThread.
    void saveAllButPassword() const;

    static void savePassword(const QString &password);
    static void removePassword();

    // Certificates the user chose to trust although they could not be
    // verified: the SHA-256 fingerprint (hex) of each, by server name.
    static QHash<QString, QString> trustedCertificates();
    static void saveTrustedCertificate(const QString &server, const QString &fingerprint);
    // Where the SSH host keys the user trusted are kept, in OpenSSH's
    // known_hosts format: beside the settings file, owner-only.
    static QString knownHostsFile();
    // Its lines; empty when it is missing or is not a regular file.
    static QByteArray trustedHostKeys();
    // Replaces it whole, or leaves it as it was.
    static void saveTrustedHostKeys(const QByteArray &knownHosts);
};
