// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The four remembered publishing settings. On Windows they are the REG_SZ
// values "Servidor", "Usuario", "Password" and "Directorio" under
// HKEY_CURRENT_USER\Software\BrenzoFTP; elsewhere the same values in the
// user's native settings store of that name.
struct PublishSettings {
    QString server;
    QString user;
    QString password;
    QString folder;

    // A missing store or value gives an empty text; nothing is reported.
    static PublishSettings load();
    // Writes the four texts as they are (the caller trims them). Where the
    // store is a file, it is left readable and writable by its owner only:
    // the password is in it in plain text. Returns once the store is on disk,
    // which can take long: the window saves through PublishSettingsWriter.
    void save() const;
};
