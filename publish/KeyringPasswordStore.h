// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/FilePasswordStore.h"
#include "publish/SecretServiceProbe.h"

#include <QSet>

#include <chrono>

namespace QKeychain {
class Job;
}

// The password in the desktop's keyring (a Secret Service such as GNOME
// Keyring or KWallet on Linux, the system's own store on Windows and macOS),
// through QtKeychain. Only where the desktop has no keyring at all is the
// password kept in the settings store. Where there is one and it
// fails, or does not answer in time, the password is kept nowhere: notKept
// tells, and the next write tries the keyring again. A password found in the
// settings store is the one read (written there before the program used a
// keyring, or on a desktop without one), and it moves into the keyring at the
// next write.
class KeyringPasswordStore : public PasswordStore {
    Q_OBJECT

public:
    static const QString Service;
    static const QString Key;

    explicit KeyringPasswordStore(WriterThread &writer, QObject *parent = nullptr);
    // On a desktop without a keyring, a password whose write has not been
    // answered yet is handed to the settings store, so that ending the
    // program never loses it.
    ~KeyringPasswordStore() override;

    void read(Read done) override;
    void write(const QString &password, Written done) override;

    // How long a write may go unanswered before it counts as failed (ten
    // seconds); for tests.
    static void setWriteTimeLimit(std::chrono::milliseconds limit);

private:
    void readKeyring(Read done);
    void notKeptInKeyring(const QString &password, Written done);

    FilePasswordStore m_file;
    SecretServiceProbe m_secretService;
    QSet<QKeychain::Job *> m_pendingWrites;
    QString m_lastPending;
};
