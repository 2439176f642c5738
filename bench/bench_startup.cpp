// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from the moment the process is started to the moment the wizard
// window is drawn, against a minimal Qt Widgets program that shows one empty
// window, and against the same peer showing one label of text, the floor
// that any window with text cannot go under (the goal is set against it).
// All three are started alternately from here with fork and exec, in the
// same start-up folder, offscreen unless QT_QPA_PLATFORM says otherwise.
//
//   bench_startup FOLDER [ROUNDS]

#include "BenchStats.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Milliseconds from fork to the child's report of its first drawn window.
double startOnce(const char *program, const char *folder)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::abort();
    const long long started = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (chdir(folder) != 0)
            _exit(127);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char buffer[64] = {};
    ssize_t total = 0;
    while (total < ssize_t(sizeof buffer) - 1) {
        const ssize_t got = read(pipeFds[0], buffer + total, sizeof buffer - 1 - total);
        if (got <= 0)
            break;
        total += got;
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const long long shown = std::atoll(buffer);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shown == 0) {
        std::fprintf(stderr, "%s did not show its window\n", program);
        std::exit(1);
    }
    return (shown - started) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
        return 2;
    }
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const char *folder = argv[1];
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;

    // One start of each first, not counted: it fills the system's file cache.
    startOnce(BENCH_STARTUP_BRENZO, folder);
    startOnce(BENCH_STARTUP_MINIMAL, folder);
    startOnce(BENCH_STARTUP_TEXT, folder);
    QList<double> ours, peer, text;
    for (int round = 0; round < rounds; ++round) {
        ours.append(startOnce(BENCH_STARTUP_BRENZO, folder));
        peer.append(startOnce(BENCH_STARTUP_MINIMAL, folder));
        text.append(startOnce(BENCH_STARTUP_TEXT, folder));
    }
    report("start-up to the first window drawn, against the peer with one label of text", ours,
           text, "ms", 1.25);
    report("the same, against the peer with an empty window", ours, peer, "ms", 1.3);
    return 0;
}
