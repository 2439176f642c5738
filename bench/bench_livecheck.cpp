// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the published page over a distant link: a page and five
// pictures served by lighttpd, reached through the shaping proxy at 50 ms.
// Ours (LiveCheck, on the interface thread's event loop) against the floor
// of the exchange: nghttp (nghttp2-client) fetching the same addresses at
// once over one HTTP/2 connection. Goal: at most two round trips above the floor, and the
// event loop never held for more than 50 ms.
//
//   bench_livecheck [ROUNDS]

#include "bench/BenchStats.h"
#include "bench/GapMeter.h"
#include "publish/LiveCheck.h"
#include "tests/publish/LighttpdServer.h"
#include "tests/publish/StopServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace {

constexpr int RoundTripMs = 50;

QByteArray bytes(int size, char seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char(seed + i * 31 + (i >> 7));
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QTemporaryDir work;
    const QString startup = work.filePath(QStringLiteral("startup"));
    QStringList files{QStringLiteral("index.htm")};
    writeFile(startup + QStringLiteral("/index.htm"), bytes(4000, 'h'));
    for (int i = 1; i <= 5; ++i)
        files << QStringLiteral("foto%1.jpg").arg(i);
    for (int i = 1; i < files.size(); ++i)
        writeFile(startup + u'/' + files[i], bytes(100'000, char('a' + i)));
    QDir().mkpath(work.filePath(QStringLiteral("root")));
    for (const QString &name : std::as_const(files))
        QFile::copy(startup + u'/' + name, work.filePath(QStringLiteral("root/") + name));

    QProcess lighttpd, proxy;
    quint16 port = 0;
    if (const QString why = startLighttpd(lighttpd, work.path(), false, port); !why.isEmpty()) {
        std::printf("%s\n", qPrintable(why));
        return 1;
    }
    // 127.0.0.2 leads through the proxy to lighttpd on 127.0.0.1.
    proxy.start(QStringLiteral(BENCH_SHAPING_PROXY),
                {QStringLiteral("127.0.0.2"), QStringLiteral("127.0.0.1"), QString::number(port),
                 QString::number(port), QString::number(RoundTripMs), QStringLiteral("20000")});
    if (!proxy.waitForReadyRead(10000)) {
        std::printf("the shaping proxy did not start\n");
        return 1;
    }
    const QString address = QStringLiteral("http://127.0.0.2:%1/").arg(port);
    QStringList urls{address};
    for (const QString &name : std::as_const(files))
        urls << address + name;
    std::printf("a page and %lld pictures of 100 kB, %d ms away at 20 Mbit/s; %lld addresses\n",
                static_cast<long long>(files.size() - 1), RoundTripMs,
                static_cast<long long>(urls.size()));

    QList<double> ours, floor, gaps;
    for (int round = 0; round < rounds; ++round) {
        LiveCheck check;
        std::optional<LiveCheck::Report> report;
        QEventLoop loop;
        QObject::connect(&check, &LiveCheck::finished, &loop, [&](const LiveCheck::Report &found) {
            report = found;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        GapMeter meter;
        QElapsedTimer clock;
        clock.start();
        check.start(address, startup, files);
        loop.exec();
        if (!report) {
            std::printf("the check did not end\n");
            return 1;
        }
        ours << clock.nsecsElapsed() / 1e6;
        gaps << meter.longest();
        if (report->verdict != LiveCheck::Verdict::Live)
            std::printf("round %d: the page was not found as sent\n", round);

        QProcess nghttp;
        clock.restart();
        // Windows as large as HTTP/2 allows: flow control is not what is measured.
        nghttp.start(QStringLiteral("nghttp"),
                     QStringList{QStringLiteral("-n"), QStringLiteral("-w"), QStringLiteral("30"),
                                 QStringLiteral("-W"), QStringLiteral("30")} +
                         urls);
        nghttp.waitForFinished(30000);
        if (nghttp.exitCode() != 0) {
            std::printf("nghttp failed (install nghttp2-client)\n");
            return 1;
        }
        floor << clock.nsecsElapsed() / 1e6;
    }
    const double above = (median(ours) - median(floor)) / RoundTripMs;
    std::printf("ours (ms): %s\nfloor, nghttp over one HTTP/2 connection (ms): %s\n"
                "ours above the floor: %.2f round trips (goal <= 2): %s\n"
                "longest gap of the event loop (ms): %s (goal <= 50): %s\n",
                spread(ours, 1).constData(), spread(floor, 1).constData(), above,
                above <= 2 ? "met" : "MISSED", spread(gaps, 1).constData(),
                *std::max_element(gaps.cbegin(), gaps.cend()) <= 50 ? "met" : "MISSED");
    proxy.kill();
    proxy.waitForFinished();
    stopServer(lighttpd);
    return 0;
}
