// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/SettingsKeeper.h"

#include "publish/PublishSettings.h"

SettingsKeeper::SettingsKeeper(QObject *parent)
    : QObject(parent), m_passwords(PasswordStore::create(m_settingsWriter)),
      m_trustedCertificates(PublishSettings::trustedCertificates()),
      m_trustedHostKeys(PublishSettings::trustedHostKeys())
{
    connect(m_passwords.get(), &PasswordStore::notKept, this, &SettingsKeeper::passwordNotKept);
}

void SettingsKeeper::save(const PublishSettings &settings)
{
    auto pending = std::make_shared<int>(2);
    const auto stored = [this, pending] {
        if (--*pending == 0)
            emit settingsSaved();
    };
    m_settingsWriter.run([settings] { settings.saveAllButPassword(); }, stored);
    m_passwords->write(settings.password, stored);
}

void SettingsKeeper::readPasswordOnce(std::function<void(const QString &)> answer)
{
    if (m_passwordAsked)
        return;
    m_passwordAsked = true;
    m_passwords->read(std::move(answer));
}

QString SettingsKeeper::trusted(const QString &server) const
{
    return m_trustedCertificates.value(server);
}

void SettingsKeeper::remember(const QString &server, const QString &fingerprint)
{
    m_trustedCertificates.insert(server, fingerprint);
    m_settingsWriter.run(
        [server, fingerprint] { PublishSettings::saveTrustedCertificate(server, fingerprint); });
}

QByteArray SettingsKeeper::trustedHostKeys() const
{
    return m_trustedHostKeys;
}

void SettingsKeeper::rememberHostKeys(const QByteArray &knownHosts)
{
    m_trustedHostKeys = knownHosts;
    m_settingsWriter.run([knownHosts] { PublishSettings::saveTrustedHostKeys(knownHosts); });
}
