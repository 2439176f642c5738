// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing by SFTP against OpenSSH's own client, into the same OpenSSH
// server on 127.0.0.1, in the same rounds: a 1 GiB file, and 300 files of
// 10 KiB each.
//
//   bench_sftp compare BIGFILE SMALLDIR ROUNDS
//       the parent (as root): starts sshd, logs in with a key of its own,
//       runs ours and `sftp -b` alternately, each in a fresh process, and
//       prints min / median / max and the ratio
//   bench_sftp link BIGFILE SMALLDIR ROUNDS RTT_MS KBIT_PER_S
//       the same through the shaping proxy on 127.0.0.2, a slow distant link
//   bench_sftp child HOST PORT USER KNOWNHOSTS FOLDER FILE...
//       one run of our transport; prints "seconds=… hwm_kib=… growth_kib=… maxgap_ms=…"

#include "bench/BenchStats.h"
#include "bench/ProcStatus.h"
#include "publish/sftp/SftpTransport.h"
#include "publish/TrustMemory.h"
#include "tests/publish/sftp/SshdServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>

namespace {

// The keys trusted in Brenzo: those of a known_hosts file, as they are.
class FileTrust : public TrustMemory {
public:
    explicit FileTrust(const QString &path)
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            m_hostKeys = file.readAll();
    }
    QString trusted(const QString &) const override { return {}; }
    void remember(const QString &, const QString &) override {}
    QByteArray trustedHostKeys() const override { return m_hostKeys; }
    void rememberHostKeys(const QByteArray &knownHosts) override { m_hostKeys = knownHosts; }

private:
    QByteArray m_hostKeys;
};

bool step(SftpTransport &transport, const std::function<void()> &operation)
{
    QEventLoop loop;
    bool result = false;
    const auto connection = QObject::connect(&transport, &Transport::finished, [&](bool ok) {
        result = ok;
        loop.quit();
    });
    operation();
    loop.exec();
    QObject::disconnect(connection);
    if (!result)
        std::fprintf(stderr, "failed: %s\n", qPrintable(transport.failureReason()));
    return result;
}

int child(const QStringList &arguments)
{
    const qint64 before = residentKiB();
    QElapsedTimer clock;
    clock.start();
    // The longest time the event loop, the user-interface thread in the
    // program, went without a turn: libssh works on a thread of its own.
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestGapNs = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, sinceTick.nsecsElapsed());
        sinceTick.start();
    });
    ticker.start();
    FileTrust trust(arguments[3]);
    SftpTransport transport(trust);
    const TransportLogin login{arguments[0], quint16(arguments[1].toUInt()), arguments[2],
                               QString()};
    if (!step(transport, [&] { transport.connectAndLogin(login); }) ||
        !step(transport, [&] { transport.changeDirectory(arguments[4]); }))
        return 1;
    for (const QString &file : arguments.mid(5)) {
        if (!step(transport, [&] { transport.store(file, QFileInfo(file).fileName()); }))
            return 1;
    }
    transport.close();
    std::printf("seconds=%.3f hwm_kib=%lld growth_kib=%lld maxgap_ms=%.1f\n",
                clock.nsecsElapsed() / 1e9, peakResidentKiB(), residentKiB() - before,
                longestGapNs / 1e6);
    return 0;
}

double childrenCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The client's processor time of the last timed() run: on a shared machine
// it says more than the clock.
double lastCpuSeconds = 0;

double timed(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    const double cpuBefore = childrenCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double seconds = clock.nsecsElapsed() / 1e9;
    lastCpuSeconds = childrenCpuSeconds() - cpuBefore;
    if (output)
        *output = process.readAllStandardOutput();
    if (process.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
    return seconds;
}

int compare(const QStringList &arguments, bool link)
{
    const QString big = arguments[0];
    const QString smallFolder = arguments[1];
    const int rounds = arguments[2].toInt();
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("SSH_AUTH_SOCK");
    SshdServer server;
    if (const QString why = server.start(); !why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    const QDir dir(home.path());
    QDir().mkpath(dir.filePath(QStringLiteral(".ssh")));
    const QString key = dir.filePath(QStringLiteral(".ssh/id_ed25519"));
    SshdServer::run(QStringLiteral("ssh-keygen"),
                    {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
                     QStringLiteral("-N"), QString(), QStringLiteral("-f"), key});
    QFile::remove(server.authorizedKeys());
    QFile::copy(key + QStringLiteral(".pub"), server.authorizedKeys());
    const QString knownHosts = dir.filePath(QStringLiteral(".ssh/known_hosts"));
    QFile hosts(knownHosts);
    hosts.open(QIODevice::WriteOnly);
    hosts.write(server.hostKeyEntry());
    hosts.write(server.hostKeyEntry().replace("127.0.0.1", "127.0.0.2"));
    hosts.close();
    const QString host = QLatin1String(link ? "127.0.0.2" : "127.0.0.1");
    QProcess proxy;
    if (link) {
        const QString port = QString::number(server.port());
        proxy.start(QStringLiteral(BENCH_SHAPING_PROXY),
                    {host, QStringLiteral("127.0.0.1"), port, port, arguments[3], arguments[4]});
        if (!proxy.waitForReadyRead(10000) || !proxy.readLine().startsWith("ready"))
            return std::fprintf(stderr, "the shaping proxy did not start\n"), 1;
    }
    const QString target = QDir(server.workFolder()).filePath(QStringLiteral("sitio"));
    QDir().mkpath(target);
    QStringList smallFiles;
    for (const QString &name : QDir(smallFolder).entryList(QDir::Files))
        smallFiles << QDir(smallFolder).filePath(name);

    const QString port = QString::number(server.port());
    const QString self = QCoreApplication::applicationFilePath();
    const QString batch = dir.filePath(QStringLiteral("batch"));
    const auto openSsh = [&](const QString &put) {
        QFile file(batch);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(QStringLiteral("cd %1\nput %2\n").arg(target, put).toUtf8());
        file.close();
        return timed(QStringLiteral("sftp"),
                     {QStringLiteral("-q"), QStringLiteral("-o"),
                      QStringLiteral("UserKnownHostsFile=") + knownHosts, QStringLiteral("-b"),
                      batch, QStringLiteral("-P"), port, QStringLiteral("-i"), key,
                      QStringLiteral("root@") + host});
    };
    QList<double> oursBig, peerBig, oursSmall, peerSmall, oursCpu, peerCpu;
    QByteArray memory;
    const auto peerRound = [&] {
        peerBig << openSsh(big);
        peerCpu << lastCpuSeconds;
    };
    for (int round = 0; round < rounds; ++round) {
        // Each goes first in every other round.
        if (round % 2)
            peerRound();
        oursBig << timed(self,
                         QStringList{QStringLiteral("child"), host, port, QStringLiteral("root"),
                                     knownHosts, target, big},
                         &memory);
        oursCpu << lastCpuSeconds;
        if (round % 2 == 0)
            peerRound();
        oursSmall << timed(self, QStringList{QStringLiteral("child"), host, port,
                                             QStringLiteral("root"), knownHosts, target} +
                                     smallFiles);
        peerSmall << openSsh(smallFolder + QStringLiteral("/*"));
        std::printf("round %d: large ours %.3f s sftp %.3f s; 300 x 10 KiB ours %.3f s sftp "
                    "%.3f s; ours: %s",
                    round + 1, oursBig.last(), peerBig.last(), oursSmall.last(), peerSmall.last(),
                    memory.constData());
        std::fflush(stdout);
    }
    const QByteArray bigName = QFileInfo(big).fileName().toUtf8();
    report(bigName.constData(), oursBig, peerBig, "s", 1.1);
    report(bigName + ", client processor time", oursCpu, peerCpu, "s", 1.1);
    report("300 x 10 KiB", oursSmall, peerSmall, "s", 1.1);
    proxy.kill();
    proxy.waitForFinished();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(2);
    const QString mode = app.arguments().value(1);
    if (mode == QLatin1String("child") && arguments.size() >= 5)
        return child(arguments);
    if (mode == QLatin1String("compare") && arguments.size() == 3)
        return compare(arguments, false);
    if (mode == QLatin1String("link") && arguments.size() == 5)
        return compare(arguments, true);
    std::fprintf(stderr, "usage: bench_sftp compare BIGFILE SMALLDIR ROUNDS\n"
                         "       bench_sftp link BIGFILE SMALLDIR ROUNDS RTT_MS KBIT_PER_S\n"
                         "       bench_sftp child HOST PORT USER KNOWNHOSTS FOLDER FILE...\n");
    return 2;
}
