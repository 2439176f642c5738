// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/FilePasswordStore.h"

#include "files/WriterThread.h"
#include "publish/PublishSettings.h"

#include <QPointer>

FilePasswordStore::FilePasswordStore(WriterThread &writer, QObject *parent)
    : PasswordStore(parent), m_writer(writer)
{
}

void FilePasswordStore::read(Read done)
{
    auto password = std::make_shared<QString>();
    onWriterThread([password] { *password = PublishSettings::load().password; },
                   [password, done = std::move(done)] { done(*password); });
}

void FilePasswordStore::write(const QString &password, Written done)
{
    onWriterThread([password] { PublishSettings::savePassword(password); }, std::move(done));
}

void FilePasswordStore::remove(Written done)
{
    onWriterThread([] { PublishSettings::removePassword(); }, std::move(done));
}

void FilePasswordStore::onWriterThread(std::function<void()> task, Written done)
{
    // The writer may outlive this store; the answer then goes nowhere.
    m_writer.run(std::move(task), [self = QPointer(this), done = std::move(done)] {
        if (self && done)
            done();
    });
}
