// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/KeyringPasswordStore.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

const QString KeyringPasswordStore::Service = QStringLiteral("BrenzoFTP");
const QString KeyringPasswordStore::Key = QStringLiteral("Password");

namespace {

std::chrono::milliseconds writeTimeLimit = std::chrono::seconds(10);

} // namespace

void KeyringPasswordStore::setWriteTimeLimit(std::chrono::milliseconds limit)
{
    writeTimeLimit = limit;
}

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
    const std::optional<bool> keyring = m_secretService.present();
    if (!m_pendingWrites.isEmpty() && keyring && !*keyring)
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
    m_secretService.ask();
    auto *job = new QKeychain::WritePasswordJob(Service);
    job->setKey(Key);
    job->setTextData(password);
    m_pendingWrites.insert(job);
    m_lastPending = password;
    // Answered once: by the keyring or by the time limit, whichever comes
    // first. A keyring that answers late still keeps the password.
    auto answer = std::make_shared<Written>(done ? std::move(done) : [] {});
    connect(job, &QKeychain::Job::finished, this, [this, password, answer](QKeychain::Job *job) {
        m_pendingWrites.remove(job);
        if (job->error() == QKeychain::NoError)
            m_file.remove(std::exchange(*answer, {})); // moved out of the file, if it was there
        else if (*answer)
            notKeptInKeyring(password, std::exchange(*answer, {}));
    });
    QTimer::singleShot(writeTimeLimit, this, [this, job, password, answer] {
        if (!*answer)
            return; // answered, and the job may be gone
        m_pendingWrites.remove(job);
        notKeptInKeyring(password, std::exchange(*answer, {}));
    });
    job->start();
}

void KeyringPasswordStore::notKeptInKeyring(const QString &password, Written done)
{
    m_secretService.whenKnown([this, password, done = std::move(done)](bool keyring) {
        if (!keyring)
            return m_file.write(password, done);
        done();
        emit notKept();
    });
}

std::unique_ptr<PasswordStore> PasswordStore::create(WriterThread &writer)
{
    return std::make_unique<KeyringPasswordStore>(writer);
}
