// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QThreadPool>

#include <functional>

// Writes files on a thread of its own: the publishing settings and the saved
// work are written through a temporary file that is synced to disk and
// renamed, which on a busy disk takes hundreds of milliseconds, and the
// window must not wait for that. One write at a time, in the order they were
// asked for, so the file keeps the last contents asked for. Destroying the
// writer waits for the writes still pending: none is lost when the window or
// the program ends.
class WriterThread : public QObject {
    Q_OBJECT

public:
    explicit WriterThread(QObject *parent = nullptr);
    ~WriterThread() override;

    // Runs `task` on the writer's thread and returns at once. `done` runs
    // afterwards on the thread the writer belongs to, unless the writer is
    // gone by then.
    void run(std::function<void()> task, std::function<void()> done = {});

private:
    QThreadPool m_pool;
};
