// SPDX-License-Identifier: GPL-3.0-or-later
// Uploading over a slow, distant link: ours against curl through the same
// shaping proxy (shaping_proxy), each against the floor of the exchange.
//
//   bench_link PORT LAST_PORT USER PASSWORD SERVERHOME PAGEDIR SMALLDIR ROUNDS
//
// The FTP server listens on 127.0.0.2 at PORT with its passive ports up to
// LAST_PORT; the proxy listens on 127.0.0.1 at the same ports, and both
// clients are pointed at 127.0.0.1, so the control connection and every data
// connection cross the link. For each profile the proxy is started anew.
//
// The floor is the time the fixed exchange cannot go below on the link: the
// files' bytes at the link's rate, plus its round trips. Connecting and the
// greeting take two (the greeting leaves once the handshake is complete),
// USER, PASS, TYPE I and SYST one each: 6. Each file takes four: PASV, then
// STOR with the data connection opened at once (the 150 leaves once that
// connection is accepted, two round trips after it was asked for), and the
// final reply, one round trip after the last byte has left.

#include "bench/BenchStats.h"
#include "bench/UploadProcesses.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int LoginRoundTrips = 6;
constexpr int FileRoundTrips = 4;

struct Profile {
    int rttMs;
    int kbitPerSecond;
};

struct Load {
    const char *name;
    QString folder;
    int files = 0;
    qint64 bytes = 0;
};

Load load(const char *name, const QString &folder)
{
    Load result{name, folder};
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
        ++result.files;
        result.bytes += file.size();
    }
    return result;
}

double floorSeconds(const Profile &profile, const Load &load)
{
    const int roundTrips = LoginRoundTrips + FileRoundTrips * load.files;
    return load.bytes * 8.0 / (profile.kbitPerSecond * 1000.0) +
           roundTrips * profile.rttMs / 1000.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 8) {
        std::fprintf(stderr,
                     "usage: %s PORT LAST_PORT USER PASSWORD SERVERHOME PAGEDIR SMALLDIR ROUNDS\n",
                     argv[0]);
        return 2;
    }
    const QString port = args[0], lastPort = args[1];
    const int rounds = args[7].toInt();
    UploadRunner runner(QStringLiteral(BENCH_UPLOAD), port, args[2], args[3], args[4]);
    runner.measureCurlStartup(rounds);
    const Load loads[] = {load("typical page", args[5]), load("300 files of 10 KiB", args[6])};
    const Profile profiles[] = {{50, 20000}, {150, 2000}};

    for (const Profile &profile : profiles) {
        QProcess proxy;
        proxy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proxy.start(QStringLiteral(BENCH_SHAPING_PROXY),
                    {QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.2"), port, lastPort,
                     QString::number(profile.rttMs), QString::number(profile.kbitPerSecond)});
        if (!proxy.waitForReadyRead(10000) || !proxy.readLine().startsWith("ready"))
            qFatal("the shaping proxy did not start");
        for (const Load &load : loads) {
            const double floor = floorSeconds(profile, load);
            std::printf("-- %d ms round trip, %g Mbit/s: %s, %d files, %lld bytes; floor %.3f s "
                        "(%d round trips and the bytes at the link's rate)\n",
                        profile.rttMs, profile.kbitPerSecond / 1000.0, load.name, load.files,
                        static_cast<long long>(load.bytes), floor,
                        LoginRoundTrips + FileRoundTrips * load.files);
            std::fflush(stdout);
            QList<double> ours, curl;
            const QString curlFiles = curlList(load.folder);
            for (int round = 0; round < rounds; ++round) {
                ours.append(runner.ours(load.folder).seconds);
                curl.append(runner.curl(load.folder, curlFiles));
                std::printf("round %d: ours %.3f s, curl %.3f s (with its stalls %.3f s)\n",
                            round + 1, ours.last(), curl.last(), runner.curlRaw.last());
                std::fflush(stdout);
            }
            report("against curl (s)", ours, curl, "s", 1.0);
            std::printf("against the floor: ours %.3f x (goal <= 1.1: %s), curl %.3f x\n",
                        median(ours) / floor, median(ours) <= 1.1 * floor ? "met" : "MISSED",
                        median(curl) / floor);
            std::fflush(stdout);
        }
        proxy.kill();
        proxy.waitForFinished();
    }
    removeUploads(args[4]);
    std::printf("curl's one-second stalls taken off its times: %d in all\n", runner.curlStalls);
    return 0;
}
