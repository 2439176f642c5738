// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One start of a program for the start-up benchmarks: the parent reads
// CLOCK_MONOTONIC, forks and execs the program in a folder, and the child
// prints the same clock once its first window is drawn (startup_shown.h).

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

inline long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct StartFigures {
    double ms = 0;      // from fork to the child's report of its first drawn window
    double peakMiB = 0; // the child's peak resident memory
};

inline StartFigures startOnce(const char *program, const char *folder)
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
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const long long shown = std::atoll(buffer);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shown == 0) {
        std::fprintf(stderr, "%s did not show its window\n", program);
        std::exit(1);
    }
    return {(shown - started) / 1e6, usage.ru_maxrss / 1024.0};
}
