// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyringPasswordStore.h"

#include <qt6keychain/keychain.h>

const QString KeyringPasswordStore::Service = QStringLiteral("BrenzoFTP");
const QString KeyringPasswordStore::Key = QStringLiteral("Password");

KeyringPasswordStore::KeyringPasswordStore(WriterThread &writer, QObject *parent)
    : PasswordStore(parent), m_file(writer)
{
}

KeyringPasswordStore::~KeyringPasswordStore()
{
    // The jobs finish on their own (they delete themselves); nothing here
    // hears of them any more.
    for (QKeychain::Job *job : std::as_const(m_pendingWrites))
        job->disconnect(this);
    if (!m_pendingWrites.isEmpty())
        m_file.write(m_lastPending, {});
}

void KeyringPasswordStore::read(Read done)
{
    m_file.read([this, done = std::move(done)](const QString &inFile) {
        if (!inFile.isEmpty())
            return done(inFile);
        readKeyring(done);
    });
}

void KeyringPasswordStore::readKeyring(Read done)
{
    auto *job = new QKeychain::ReadPasswordJob(Service);
    job->setKey(Key);
    connect(job, &QKeychain::Job::finished, this, [done = std::move(done)](QKeychain::Job *job) {
        // No entry, no keyring, a keyring that refused: nothing is kept.
        done(job->error() == QKeychain::NoError
                 ? static_cast<QKeychain::ReadPasswordJob *>(job)->textData()
                 : QString());
    });
    job->start();
}

void KeyringPasswordStore::write(const QString &password, Written done)
{
    auto *job = new QKeychain::WritePasswordJob(Service);
    job->setKey(Key);
    job->setTextData(password);
    m_pendingWrites.insert(job);
    m_lastPending = password;
    connect(job, &QKeychain::Job::finished, this,
            [this, password, done = std::move(done)](QKeychain::Job *job) {
                m_pendingWrites.remove(job);
                if (job->error() == QKeychain::NoError)
                    m_file.remove(done); // moved out of the file, if it was there
                else
                    m_file.write(password, done);
            });
    job->start();
}

std::unique_ptr<PasswordStore> PasswordStore::create(WriterThread &writer)
{
    return std::make_unique<KeyringPasswordStore>(writer);
}
