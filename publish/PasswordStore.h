// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class WriterThread;

// Where the publishing password is kept between runs of the program. Both
// calls return at once; the answer comes later from the event loop, on the
// store's thread, and never after the store is gone.
class PasswordStore : public QObject {
    Q_OBJECT

public:
    using Read = std::function<void(const QString &password)>;
    using Written = std::function<void()>;

    using QObject::QObject;

    // `done` gets the kept password, empty when none is kept.
    virtual void read(Read done) = 0;
    // `done` runs once the write has ended, in a bounded time, whether the
    // password was kept or not (then notKept follows).
    virtual void write(const QString &password, Written done) = 0;

    // The desktop's keyring where one answers, the settings store otherwise.
    static std::unique_ptr<PasswordStore> create(WriterThread &writer);

signals:
    // A write ended without keeping the password anywhere.
    void notKept();
};
