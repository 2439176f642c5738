// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FilePasswordStore.h"

#include <QSet>

namespace QKeychain {
class Job;
}

// The password in the desktop's keyring (a Secret Service such as GNOME
// Keyring or KWallet on Linux, the system's own store on Windows and macOS),
// through QtKeychain. Where no keyring answers, or it fails, the password is
// kept in the settings store as before. A password found in the settings
// store is newer than the keyring's (written there when the keyring failed,
// or before the program used a keyring): it is the one read, and it moves
// into the keyring at the next write.
class KeyringPasswordStore : public PasswordStore {
    Q_OBJECT

public:
    static const QString Service;
    static const QString Key;

    explicit KeyringPasswordStore(WriterThread &writer, QObject *parent = nullptr);
    // A password whose keyring write has not been answered yet is handed to
    // the settings store, so that ending the program never loses it.
    ~KeyringPasswordStore() override;

    void read(Read done) override;
    void write(const QString &password, Written done) override;

private:
    void readKeyring(Read done);

    FilePasswordStore m_file;
    QSet<QKeychain::Job *> m_pendingWrites;
    QString m_lastPending;
};
