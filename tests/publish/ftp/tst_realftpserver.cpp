// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing to real FTP servers started here on loopback: Debian's
// pyftpdlib (over IPv4 and IPv6) and vsftpd. A page with every kind of entry
// arrives byte for byte, names with accents under the UTF-8 name a browser
// asks for, and a file cut short by Cancelar is one the server itself
// records as failed.

#include "publish/PublishJob.h"
#include "publish/PublishSettings.h"
#include "publish/SettingsKeeper.h"
#include "tests/publish/ftp/PyftpdlibServer.h"
#include "tests/publish/ftp/VsftpdServer.h"

#include <QtTest>

#include <memory>

namespace {

// One of the real servers, whichever a test row names.
struct RealServer {
    std::unique_ptr<PyftpdlibServer> pyftpdlib;
    std::unique_ptr<VsftpdServer> vsftpd;
    QString host = QStringLiteral("127.0.0.1");

    // Empty once it runs; otherwise why not. readLimit slows its data
    // connections to that many bytes per second.
    QString start(const QString &kind, int readLimit = 0)
    {
        if (kind == QLatin1String("vsftpd")) {
            QStringList config;
            if (readLimit)
                config.append(QStringLiteral("local_max_rate=%1").arg(readLimit));
            vsftpd = std::make_unique<VsftpdServer>(config);
            return vsftpd->start();
        }
        if (kind.endsWith(QLatin1String("::1")))
            host = QStringLiteral("::1");
        pyftpdlib = std::make_unique<PyftpdlibServer>();
        return pyftpdlib->start(host, readLimit);
    }
    quint16 port() const { return vsftpd ? vsftpd->port() : pyftpdlib->port(); }
    QString user() const
    {
        return QLatin1String(vsftpd ? VsftpdServer::User : PyftpdlibServer::User);
    }
    QString password() const
    {
        return QLatin1String(vsftpd ? VsftpdServer::Password : PyftpdlibServer::Password);
    }
    QString root() const { return vsftpd ? vsftpd->root() : pyftpdlib->root(); }
    // The remote folder the runs publish to, writable by the server's user.
    bool makeRemoteFolder() const
    {
        const QString folder = QDir(root()).filePath(QStringLiteral("public_html"));
        if (!QDir().mkdir(folder))
            return false;
        return !vsftpd || QProcess::execute(QStringLiteral("chown"),
                                            {QLatin1String(VsftpdServer::User), folder}) == 0;
    }
    // The commands the server received, as it logged them.
    QStringList commands() const
    {
        if (pyftpdlib)
            return pyftpdlib->commands();
        QStringList lines;
        static const QRegularExpression command(
            QStringLiteral("FTP command: Client \"[^\"]*\", \"(.*)\"$"));
        for (const QString &line : vsftpd->log().split(u'\n')) {
            const QRegularExpressionMatch match = command.match(line);
            if (match.hasMatch())
                lines.append(match.captured(1));
        }
        return lines;
    }
    // The server's own log lines about transfers.
    QStringList transferLog() const
    {
        const QStringList lines = pyftpdlib ? pyftpdlib->log() : vsftpd->log().split(u'\n');
        return lines.filter(QRegularExpression(QStringLiteral("UPLOAD|completed=")));
    }
};

// One publishing job, without a window, aimed at one real server.
struct Job {
    SettingsKeeper keeper;
    PublishJob job{keeper};
    QSignalSpy progress{&job, &PublishJob::progress};
    QSignalSpy finished{&job, &PublishJob::finished};

    Job(const RealServer &server, const QString &folder, const QStringList &files)
    {
        job.setUpload(folder, files);
        const QString host = server.host.contains(u':') ? u'[' + server.host + u']' : server.host;
        job.start({host + u':' + QString::number(server.port()), server.user(), server.password(),
                   QStringLiteral("/public_html")});
    }
    bool waitForEnd() { return !finished.isEmpty() || finished.wait(60000); }
    PublishJob::Outcome outcome() const
    {
        return finished.at(0).at(0).value<PublishJob::Outcome>();
    }
};

} // namespace

class TestRealFtpServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void publishesEveryKindOfEntry_data();
    void publishesEveryKindOfEntry();
    void cancelCutsTheFile_data();
    void cancelCutsTheFile();

private:
    QTemporaryDir m_config;
};

void TestRealFtpServer::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestRealFtpServer::publishesEveryKindOfEntry_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pyftpdlib") << QStringLiteral("pyftpdlib");
    QTest::newRow("pyftpdlib on ::1") << QStringLiteral("pyftpdlib on ::1");
    QTest::newRow("vsftpd") << QStringLiteral("vsftpd");
}

void TestRealFtpServer::publishesEveryKindOfEntry()
{
    QFETCH(QString, kind);
    RealServer server;
    if (const QString why = server.start(kind); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(server.makeRemoteFolder());

    // The page, the background, the sound, pictures 1 to 3, the badge,
    // names with accents and a name in Greek and Chinese letters.
    const QDir media(QStringLiteral(BRENZO_MEDIA_DIR));
    QTemporaryDir startup;
    const QList<std::pair<QString, QString>> sources = {
        {"fondo_cielo.jpg", "fondo_cielo.jpg"},      {"samples/campanas.wav", "canción.wav"},
        {"samples/foto_playa.jpg", "foto 1.jpg"},    {"samples/estrella.gif", "Peña.gif"},
        {"samples/retrato.jpg", "retrato.jpg"},      {"boton_brenzo.gif", "boton_brenzo.gif"},
        {"samples/estrella.gif", "Ελλάδα 写真.gif"},
    };
    QStringList files = {QStringLiteral("mipagina.htm")};
    {
        QFile page(QDir(startup.path()).filePath(files[0]));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<HTML>\r\n<HEAD><TITLE>Mi p\xe1gina</TITLE></HEAD>\r\n</HTML>\r\n");
    }
    for (const auto &[source, name] : sources) {
        QVERIFY2(QFile::copy(media.filePath(source), QDir(startup.path()).filePath(name)),
                 qPrintable(source));
        files.append(name);
    }

    Job j(server, startup.path(), files);
    QVERIFY(j.waitForEnd());
    QVERIFY2(j.finished[0][2].toString().isEmpty(), qPrintable(j.finished[0][2].toString()));
    QCOMPARE(j.outcome(), PublishJob::Outcome::Published);
    // Each file lies under its name in UTF-8, the bytes the browser asks for.
    const QByteArray folder = QFile::encodeName(server.root()) + "/public_html/";
    for (const QString &name : std::as_const(files)) {
        QFile local(QDir(startup.path()).filePath(name));
        QFile remote(QString::fromUtf8(folder + name.toUtf8()));
        QVERIFY(local.open(QIODevice::ReadOnly));
        QVERIFY2(remote.open(QIODevice::ReadOnly), qPrintable(name));
        QVERIFY2(local.readAll() == remote.readAll(), qPrintable(name));
    }
    const QStringList commands = server.commands();
    qInfo().noquote() << kind + " received:\n  " + commands.join(QStringLiteral("\n  "));
    // vsftpd logs every byte beyond ASCII as "?": two of them are the two
    // bytes of "ñ" in UTF-8.
    QVERIFY(commands.contains(server.vsftpd ? QStringLiteral("STOR Pe??a.gif")
                                            : QStringLiteral("STOR Peña.gif")));
    QVERIFY(!commands.contains(QStringLiteral("QUIT")));
    // A 227 has no room for an IPv6 address.
    QCOMPARE(commands.contains(QStringLiteral("EPSV")), server.host == QLatin1String("::1"));
    QCOMPARE(commands.contains(QStringLiteral("PASV")), server.host != QLatin1String("::1"));
}

void TestRealFtpServer::cancelCutsTheFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pyftpdlib") << QStringLiteral("pyftpdlib");
    QTest::newRow("vsftpd") << QStringLiteral("vsftpd");
}

void TestRealFtpServer::cancelCutsTheFile()
{
    QFETCH(QString, kind);
    // A server that takes 4 MB a second: the system's queues then hold
    // seconds' worth of the file when Cancelar is clicked.
    RealServer server;
    if (const QString why = server.start(kind, 4 * 1000 * 1000); !why.isEmpty())
        QSKIP(qPrintable(why));
    QVERIFY(server.makeRemoteFolder());
    QTemporaryDir startup;
    {
        QFile big(QDir(startup.path()).filePath(QStringLiteral("grande.bin")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(256 * 1024 * 1024));
    }
    Job j(server, startup.path(), {QStringLiteral("grande.bin")});
    QVERIFY(QTest::qWaitFor(
        [&] {
            return !j.progress.isEmpty() && j.progress.last().at(0).toLongLong() > 8 * 1024 * 1024;
        },
        30000));

    // What the system had taken from us for sending by the cancel.
    const qint64 handedOn = j.progress.last().at(0).toLongLong();
    j.job.cancel();
    QVERIFY(j.waitForEnd());
    QCOMPARE(j.outcome(), PublishJob::Outcome::FileFailed);
    QCOMPARE(j.finished[0][1].toString(), QStringLiteral("grande.bin"));
    // The server's own verdict, once it has one.
    QVERIFY(QTest::qWaitFor([&] { return !server.transferLog().isEmpty(); }, 20000));
    const QString verdict = server.transferLog().join(u'\n');
    qInfo().noquote() << kind + " logged: " + verdict;
    QVERIFY2(verdict.contains(QLatin1String("FAIL UPLOAD")) ||
                 verdict.contains(QLatin1String("completed=0")),
             qPrintable(verdict));
    // What was still queued for sending was dropped, not delivered.
    const QString remote = QDir(server.root()).filePath(QStringLiteral("public_html/grande.bin"));
    QVERIFY2(QFileInfo(remote).size() < handedOn,
             qPrintable(QStringLiteral("%1 of %2").arg(QFileInfo(remote).size()).arg(handedOn)));
}

QTEST_MAIN(TestRealFtpServer)
#include "tst_realftpserver.moc"
