// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/PasswordStore.h"

// The password as the value "Password" of the settings store, a file that
// only its owner may read (or the registry), in plain text. Read and written
// on the settings writer's thread, in order with the other settings.
class FilePasswordStore : public PasswordStore {
    Q_OBJECT

public:
    explicit FilePasswordStore(WriterThread &writer, QObject *parent = nullptr);

    void read(Read done) override;
    void write(const QString &password, Written done) override;
    // Takes the password out of the store (once another place keeps it).
    void remove(Written done);

private:
    void onWriterThread(std::function<void()> task, Written done);

    WriterThread &m_writer;
};
