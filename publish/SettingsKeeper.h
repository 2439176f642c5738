// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/WriterThread.h"
#include "publish/PasswordStore.h"
#include "publish/TrustMemory.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

struct PublishSettings;

// The publishing settings the program remembers between runs: the texts,
// written on a thread of their own; the password, in its store; and the
// certificates and server keys the user trusted unverified, kept through
// the same thread. Nothing here waits or shows.
class SettingsKeeper : public QObject, public TrustMemory {
    Q_OBJECT

public:
    explicit SettingsKeeper(QObject *parent = nullptr);

    // Hands the texts to the settings writer and the password to its store,
    // and returns at once; settingsSaved follows when both are stored.
    void save(const PublishSettings &settings);
    // Asks the password store once; `answer` is called when it answers.
    void readPasswordOnce(std::function<void(const QString &)> answer);

    QString trusted(const QString &server) const override;
    void remember(const QString &server, const QString &fingerprint) override;
    QByteArray trustedHostKeys() const override;
    void rememberHostKeys(const QByteArray &knownHosts) override;

signals:
    void settingsSaved();
    // The password store could not keep the password; it tries again on the
    // next save.
    void passwordNotKept();

private:
    // Lives as long as the keeper, and finishes its pending saves when the
    // keeper is destroyed.
    WriterThread m_settingsWriter;
    // Declared after the writer it writes through, so it goes first.
    std::unique_ptr<PasswordStore> m_passwords;
    bool m_passwordAsked = false;
    // Read at creation, and kept up to date here as the user trusts more.
    QHash<QString, QString> m_trustedCertificates;
    QByteArray m_trustedHostKeys;
};
