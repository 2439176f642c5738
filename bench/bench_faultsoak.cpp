// SPDX-License-Identifier: GPL-3.0-or-later
// The soak under faults: many runs, each with one fault picked at random
// from the fault matrix at a random step, over FTP, FTPS and SFTP against
// vsftpd and sshd, each followed by a clean run. Goals: no wrong outcome,
// no cut file at a final name over FTPS or SFTP, memory flat over the last
// two thirds of the runs (at most 2 MiB more), no descriptor or thread
// left behind. Needs root (vsftpd).
//
//     bench_faultsoak [runs=300] [seed=1]
//
// BRENZO_SOAK_TRACE=1 prints the open descriptors after every run.
#include "bench/ProcStatus.h"
#include "tests/publish/FaultRig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <cstdio>
#include <map>

namespace {
// What each open descriptor points at, by number.
std::map<QString, QString> descriptors()
{
    std::map<QString, QString> open;
    const QDir folder(QStringLiteral("/proc/self/fd"));
    for (const QString &name : folder.entryList(QDir::NoDotAndDotDot | QDir::AllEntries))
        open[name] = QFile::symLinkTarget(folder.filePath(name));
    return open;
}

int threadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 300;
    QRandomGenerator random(argc > 2 ? quint32(std::atoi(argv[2])) : 1u);
    std::map<Way, std::unique_ptr<FaultRig>> rigs;
    for (const Way way : {Way::Ftp, Way::Ftps, Way::Sftp}) {
        rigs[way] = std::make_unique<FaultRig>(way);
        if (const QString why = rigs[way]->start(); !why.isEmpty()) {
            std::fprintf(stderr, "cannot start: %s\n", qPrintable(why));
            return 2;
        }
    }
    for (auto &[way, rig] : rigs)
        rig->takeIdleThreads();
    int wrongRuns = 0, cutFiles = 0;
    qint64 memoryAtThird = 0;
    qsizetype descriptorsAtThird = 0;
    std::map<QString, QString> openAtThird;
    int threadsAtThird = 0;
    for (int run = 0; run < runs; ++run) {
        const Way way = Way(random.bounded(3));
        const QList<FaultCase> cases = FaultRig::matrix(way);
        const FaultCase faultCase = cases.at(random.bounded(int(cases.size())));
        const FaultRig::Result result = rigs[way]->run(faultCase);
        if (!result.wrong.isEmpty()) {
            ++wrongRuns;
            cutFiles += int(result.wrong.filter(QStringLiteral("a cut ")).size());
            std::printf("run %d, %s %s: %s\n", run,
                        way == Way::Ftp    ? "ftp"
                        : way == Way::Ftps ? "ftps"
                                           : "sftp",
                        qPrintable(faultCase.name()),
                        qPrintable(result.wrong.join(QStringLiteral("; "))));
        }
        if (qEnvironmentVariableIsSet("BRENZO_SOAK_TRACE")) {
            rigs[way]->dropConnections();
            std::printf("run %d %d %s: %lld descriptors\n", run, int(way),
                        qPrintable(faultCase.name()), qlonglong(openDescriptors()));
        }
        if (run == 2 * runs / 3) {
            for (auto &[way, rig] : rigs)
                rig->dropConnections();
            std::printf("after %d runs: %lld descriptors, %lld KiB\n", run + 1,
                        qlonglong(openDescriptors()), qlonglong(residentKiB()));
        }
        if (run == runs / 3) {
            for (auto &[way, rig] : rigs)
                rig->dropConnections();
            memoryAtThird = residentKiB();
            descriptorsAtThird = openDescriptors();
            openAtThird = descriptors();
            std::printf("after %d runs: %lld descriptors, %lld KiB\n", run + 1,
                        qlonglong(descriptorsAtThird), qlonglong(memoryAtThird));
            threadsAtThird = threadCount();
        }
    }
    for (auto &[way, rig] : rigs)
        rig->dropConnections();
    // Connections the last run closed may still be on their way out.
    (void)QTest::qWaitFor([&] { return openDescriptors() <= descriptorsAtThird; }, 5000);
    const qint64 grown = residentKiB() - memoryAtThird;
    const qsizetype moreDescriptors = openDescriptors() - descriptorsAtThird;
    const int moreThreads = threadCount() - threadsAtThird;
    for (const auto &[number, target] : descriptors()) {
        if (openAtThird[number] != target)
            std::printf("descriptor %s: %s (was %s)\n", qPrintable(number), qPrintable(target),
                        qPrintable(openAtThird[number]));
    }
    std::printf("after %d runs: %lld descriptors, %lld KiB\n", runs, qlonglong(openDescriptors()),
                qlonglong(residentKiB()));
    std::printf("runs %d, wrong %d, cut files at final names %d\n", runs, wrongRuns, cutFiles);
    std::printf("resident memory grew by %lld KiB over the last %d runs (goal <= 2048)\n",
                qlonglong(grown), runs - runs / 3 - 1);
    std::printf("descriptors %+lld, threads %+d over the same runs (goal 0)\n",
                qlonglong(moreDescriptors), moreThreads);
    const bool met = wrongRuns == 0 && cutFiles == 0 && grown <= 2048 && moreDescriptors <= 0 &&
                     moreThreads <= 0;
    std::printf("%s\n", met ? "goals met" : "goals NOT met");
    return met ? 0 : 1;
}
