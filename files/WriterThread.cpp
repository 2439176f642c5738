// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/WriterThread.h"

WriterThread::WriterThread(QObject *parent) : QObject(parent)
{
    // A single thread takes the writes from the pool's queue one after the
    // other, first asked first written: two writes never race for the file.
    m_pool.setMaxThreadCount(1);
}

WriterThread::~WriterThread()
{
    // Before the QObject goes: the writes still refer to it. Waiting here is
    // at the end of the window's life, when nothing is left to draw.
    m_pool.waitForDone();
}

void WriterThread::run(std::function<void()> task, std::function<void()> done)
{
    m_pool.start([this, task = std::move(task), done = std::move(done)] {
        task();
        if (done)
            QMetaObject::invokeMethod(this, done, Qt::QueuedConnection);
    });
}
