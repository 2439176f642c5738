// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpFarewell.h"

#include "publish/sftp/SftpChannel.h"
#include "publish/sftp/SftpStop.h"
#include "publish/Transport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace {

// How long a connection that has nothing to tidy up may take to notice its
// stop before its socket is shut down under it.
constexpr int GoodbyeMs = 100;

struct Leaving {
    QPointer<QThread> thread;
    std::shared_ptr<SftpStop> stop;
};

// Touched on the window's thread only.
QList<Leaving> &leaving()
{
    static QList<Leaving> connections;
    return connections;
}

} // namespace

void SftpFarewell::keep(QThread *thread, std::shared_ptr<SftpStop> stop)
{
    QList<Leaving> &all = leaving();
    all.removeIf([](const Leaving &one) { return one.thread.isNull(); });
    // The program's end waits for them.
    [[maybe_unused]] static const bool waitedForAtExit = [] {
        qAddPostRoutine([] { waitAll(ExitWaitMs); });
        return true;
    }();
    QTimer::singleShot(GoodbyeMs, thread, [stop] { stop->cut(false); });
    QTimer::singleShot(TransportLimits::CleanupMs, thread, [stop] { stop->cut(); });
    all.append({thread, std::move(stop)});
}

int SftpFarewell::waitAll(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    // Most of the time for the server to answer, the rest for the cut.
    const QDeadlineTimer answers(milliseconds * 9 / 10);
    QList<Leaving> &all = leaving();
    for (const Leaving &one : std::as_const(all)) {
        if (one.thread)
            one.thread->wait(answers);
    }
    for (const Leaving &one : std::as_const(all)) {
        if (!one.thread)
            continue;
        one.stop->cut();
        if (one.thread->wait(deadline))
            delete one.thread;
    }
    // A thread still running is never deleted: it stays here, and the
    // process ends it.
    all.removeIf([](const Leaving &one) { return one.thread.isNull(); });
    return int(all.size());
}
