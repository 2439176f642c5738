// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every test of the sanitizer build. Qt's worker threads are
// detached: QThread::wait() returns before the thread has really ended, so a
// pool thread can still be tearing itself down when the leak checker stops
// the world at exit, and the checker then dies with "Tracer caught signal".
// Before the checker runs, wait (at most two seconds) until the main thread
// is the only one left.
#include <cstdlib>
#include <dirent.h>
#include <time.h>

namespace {

int threadCount()
{
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return 1;
    int count = 0;
    while (const dirent *entry = readdir(tasks))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(tasks);
    return count;
}

void waitForLoneThread()
{
    const timespec step{0, 10 * 1000 * 1000};
    for (int i = 0; i < 200 && threadCount() > 1; ++i)
        nanosleep(&step, nullptr);
}

[[maybe_unused]] const int registered = std::atexit(waitForLoneThread);

} // namespace
