// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PublishSettings.h"

#include <QObject>
#include <QThreadPool>

// Writes the publishing settings on a thread of its own. The store is written
// through a temporary file that is synced to disk and renamed, which on a busy
// disk takes hundreds of milliseconds; the window must not wait for that.
// One save at a time, in the order they were asked for, so the last texts
// asked for are the ones the store keeps. Destroying the writer waits for the
// saves still pending: none is lost when the window or the program ends.
class PublishSettingsWriter : public QObject {
    Q_OBJECT

public:
    explicit PublishSettingsWriter(QObject *parent = nullptr);
    ~PublishSettingsWriter() override;

    // Takes a copy of the settings and returns at once.
    void save(const PublishSettings &settings);

signals:
    // Once per save, on the thread the writer belongs to, after the store was
    // written. A store that cannot be written is not reported, as before.
    void saved();

private:
    QThreadPool m_pool;
};
