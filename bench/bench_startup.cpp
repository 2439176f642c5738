// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from the moment the process is started to the moment the wizard
// window is drawn, against a minimal Qt Widgets program that shows one empty
// window, and against the same peer showing one label of text, the floor
// that any window with text cannot go under (the goal is set against it).
// All three are started alternately from here with fork and exec, in the
// same start-up folder, offscreen unless QT_QPA_PLATFORM says otherwise.
//
//   bench_startup FOLDER [ROUNDS]

#include "bench/BenchStats.h"
#include "bench/startup_run.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <cstdlib>

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
        ours.append(startOnce(BENCH_STARTUP_BRENZO, folder).ms);
        peer.append(startOnce(BENCH_STARTUP_MINIMAL, folder).ms);
        text.append(startOnce(BENCH_STARTUP_TEXT, folder).ms);
    }
    report("start-up to the first window drawn, against the peer with one label of text", ours,
           text, "ms", 1.25);
    report("the same, against the peer with an empty window", ours, peer, "ms", 1.3);
    return 0;
}
