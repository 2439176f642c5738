// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QThreadPool>

#include <functional>

// Writes the publishing settings on a thread of its own. The store is written
// through a temporary file that is synced to disk and renamed, which on a busy
// disk takes hundreds of milliseconds; the window must not wait for that.
// One write at a time, in the order they were asked for, so the last texts
// asked for are the ones the store keeps. Destroying the writer waits for the
// writes still pending: none is lost when the window or the program ends.
class PublishSettingsWriter : public QObject {
    Q_OBJECT

public:
    explicit PublishSettingsWriter(QObject *parent = nullptr);
    ~PublishSettingsWriter() override;

    // Runs `task` (a PublishSettings read or write, which opens its own
    // QSettings) on the writer's thread and returns at once. `done` runs
    // afterwards on the writer's own thread, unless the writer is gone by
    // then. A store that cannot be written is not reported.
    void run(std::function<void()> task, std::function<void()> done = {});

private:
    QThreadPool m_pool;
};
