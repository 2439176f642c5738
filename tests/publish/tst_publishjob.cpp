// SPDX-License-Identifier: GPL-3.0-or-later
// The upload run without a window: the job against a scripted server on
// 127.0.0.1, with the exact commands the server receives, how each run ends
// and the files that arrive.

#include "publish/PublishJob.h"
#include "publish/PublishSettings.h"
#include "publish/SettingsKeeper.h"
#include "tests/publish/PublishRunTest.h"
#include "tests/publish/PublishTexts.h"

namespace {

using namespace PublishTexts;
using Outcome = PublishJob::Outcome;

// One publishing job without a window, aimed at one scripted server.
struct Job {
    ScriptedFtpServer server;
    SettingsKeeper keeper;
    PublishJob job{keeper};
    QSignalSpy finished{&job, &PublishJob::finished};

    Job(const QString &folder, const QStringList &files, const TransportLimits &limits = {})
    {
        server.listen();
        job.setUpload(folder, files);
        job.setLimits(limits);
    }
    // Runs with the texts as the window hands them on, trimmed.
    bool run(const QString &folder = {}, bool secure = false, const QString &host = {},
             const QString &user = "ana", const QString &password = "secreto")
    {
        const QString port = QString::number(server.port());
        job.start({host.isEmpty() ? "127.0.0.1:" + port : host, user, password, folder,
                   secure ? PublishSettings::Connection::Ftps : PublishSettings::Connection::Ftp});
        return finished.wait(60000);
    }
    Outcome outcome() const { return finished.at(0).at(0).value<Outcome>(); }
    QString entry() const { return finished.at(0).at(1).toString(); }
    QString reason() const { return finished.at(0).at(2).toString(); }
};

} // namespace

class TestPublishJob : public PublishRunTest {
    Q_OBJECT

private slots:
    void initTestCase() { writeFolder(); }
    void init() { forgetSettings(); }

    void serverVariants_data();
    void serverVariants();
    void failures_data();
    void failures();
    void connectingRunsOutOfTime();
    void serverFallsSilent_data();
    void serverFallsSilent();
    void floodedDataConnection();
};

namespace {
// The most memory the process has held so far, in KiB (0 where unknown).
qint64 peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

void TestPublishJob::serverVariants_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QByteArray>("passiveFormat");
    QTest::addColumn<QByteArray>("passiveHost");
    QTest::addColumn<QByteArray>("finalReply");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("commands");

    const QByteArray pasv = "227 Entering Passive Mode (%1).";
    const QByteArray local = "127,0,0,1";
    const QStringList login = {"USER ana", "PASS secreto", "TYPE I", "SYST"};
    const QStringList store = {"PASV", "STOR pagina.htm"};

    QTest::newRow("USER answered 230: no PASS")
        << QStringList{"USER=230 Adelante"} << pasv << local << QByteArray() << QString()
        << QStringList{"USER ana", "TYPE I", "SYST"} + store;
    QTest::newRow("SYST answered 500") << QStringList{"SYST=500 No entiendo"} << pasv << local
                                       << QByteArray() << QString() << login + store;
    QTest::newRow("SYST answered 200") << QStringList{"SYST=200 Vale"} << pasv << local
                                       << QByteArray() << QString() << login + store;
    QTest::newRow("multi-line replies")
        << QStringList{"GREETING=220-Bienvenido\r\n230 esto no acaba\r\n220-sigue\r\n220 Listo",
                       "USER=331-Hola\r\n331 Su clave"}
        << pasv << local << QByteArray() << QString() << login + store;
    QTest::newRow("227 without parentheses")
        << QStringList() << QByteArray("227 Entering Passive Mode %1") << local << QByteArray()
        << QString() << login + store;
    // Another machine named in the 227: the data still go to this server.
    QTest::newRow("227 naming another address") << QStringList() << pasv << QByteArray("10,255,0,1")
                                                << QByteArray() << QString() << login + store;
    QTest::newRow("final reply 250")
        << QStringList() << pasv << local << QByteArray("250 Hecho") << QString() << login + store;
    QTest::newRow("CWD answered 200")
        << QStringList{"CWD=200 Vale"} << pasv << local << QByteArray()
        << QStringLiteral("/public_html") << login + QStringList{"CWD /public_html"} + store;
}

void TestPublishJob::serverVariants()
{
    QFETCH(QStringList, rules);
    QFETCH(QByteArray, passiveFormat);
    QFETCH(QByteArray, passiveHost);
    QFETCH(QByteArray, finalReply);
    QFETCH(QString, folder);
    QFETCH(QStringList, commands);

    Job j(m_folder.path(), {QStringLiteral("pagina.htm")});
    j.server.addRules(rules);
    j.server.passiveFormat = passiveFormat;
    j.server.passiveHost = passiveHost;
    if (!finalReply.isEmpty())
        j.server.finalReplies.insert(1, finalReply);

    QVERIFY(j.run(folder));
    QCOMPARE(j.outcome(), Outcome::Published);
    QCOMPARE(commandsOf(j.server), commands);
    QCOMPARE(j.server.files.value(QStringLiteral("pagina.htm")),
             m_files.value(QStringLiteral("pagina.htm")));
}

void TestPublishJob::failures_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<Outcome>("outcome"); // FileFailed: at the first file not received
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QString>("reason"); // "*" for any text at all

    const QString ana = QStringLiteral("ana"), secreto = QStringLiteral("secreto");
    const QStringList page = {QStringLiteral("pagina.htm")};
    const QStringList three = {QStringLiteral("pagina.htm"), QStringLiteral("fondo_cielo.jpg"),
                               QStringLiteral("sonido.mid")};
    const auto noLogin = Outcome::LoginFailed, noFolder = Outcome::FolderFailed,
               noFile = Outcome::FileFailed;
    const QStringList login = {"USER ana", "PASS secreto", "TYPE I", "SYST"};
    const QStringList firstFile = login + QStringList{"PASV", "STOR pagina.htm"};

    QTest::newRow("wrong password")
        << QStringList{"PASS=530 Login incorrect"} << ana << secreto << QString() << page << noLogin
        << QStringList{"USER ana", "PASS secreto"} << QStringList()
        << QStringLiteral("530 Login incorrect");
    QTest::newRow("port out of range")
        << QStringList{"SERVER=127.0.0.1:99999"} << ana << secreto << QString() << page << noLogin
        << QStringList() << QStringList()
        << QStringLiteral("El puerto indicado no es válido: 99999");
    // A name no server has is refused before anything is looked up or sent.
    for (const QString server : {":21", "[]:21", "[::1", "[h]x", "host :21", "host\t:21"})
        QTest::addRow("server %s", qPrintable(server))
            << QStringList{"SERVER=" + server} << ana << secreto << QString() << page << noLogin
            << QStringList() << QStringList()
            << QStringLiteral("El nombre del servidor no es válido: ") + server;
    QTest::newRow("greeting refused")
        << QStringList{"GREETING=421 Demasiados usuarios"} << ana << secreto << QString() << page
        << noLogin << QStringList() << QStringList() << QStringLiteral("421 Demasiados usuarios");
    QTest::newRow("TYPE refused") << QStringList{"TYPE=504 No"} << ana << secreto << QString()
                                  << page << noLogin << login.mid(0, 3) << QStringList()
                                  << QStringLiteral("504 No");
    QTest::newRow("SYST answered 502")
        << QStringList{"SYST=502 No"} << ana << secreto << QString() << page << noLogin << login
        << QStringList() << QStringLiteral("502 No");
    QTest::newRow("closed after USER")
        << QStringList{"USER:close"} << ana << secreto << QString() << page << noLogin
        << QStringList{"USER ana"} << QStringList()
        << QStringLiteral("The remote host closed the connection");
    QTest::newRow("reply line of 20000 characters")
        << QStringList{"USER=331 " + QString(20000, u'x')} << ana << secreto << QString() << page
        << noLogin << QStringList{"USER ana"} << QStringList()
        << QStringLiteral("El servidor envió una línea que no es una respuesta FTP");
    QTest::newRow("LF in the user name")
        << QStringList() << QStringLiteral("ana\nDELE pagina.htm") << secreto << QString() << page
        << noLogin << QStringList() << QStringList()
        << QStringLiteral("USER: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("CR in the password")
        << QStringList() << ana << QStringLiteral("se\rDELE pagina.htm") << QString() << page
        << noLogin << QStringList{"USER ana"} << QStringList()
        << QStringLiteral("PASS: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("CWD refused") << QStringList{"CWD=550 No existe"} << ana << secreto
                                 << QStringLiteral("/site") << page << noFolder
                                 << login + QStringList{"CWD /site"} << QStringList()
                                 << QStringLiteral("550 No existe");
    QTest::newRow("LF in the folder")
        << QStringList() << ana << secreto << QStringLiteral("/site\nDELE pagina.htm") << page
        << noFolder << login << QStringList()
        << QStringLiteral("CWD: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("PASV refused") << QStringList{"PASV=425 No"} << ana << secreto << QString()
                                  << page << noFile << login + QStringList{"PASV"} << QStringList()
                                  << QStringLiteral("425 No");
    QTest::newRow("227 unreadable")
        << QStringList{"PASV=227 Entering Passive Mode (1,2)"} << ana << secreto << QString()
        << page << noFile << login + QStringList{"PASV"} << QStringList()
        << QStringLiteral("227 Entering Passive Mode (1,2)");
    QTest::newRow("second STOR refused")
        << QStringList{"STOR#2=553 No permitido"} << ana << secreto << QString() << three << noFile
        << firstFile + QStringList{"PASV", "STOR fondo_cielo.jpg"} << page
        << QStringLiteral("553 No permitido");
    QTest::newRow("closed after STOR")
        << QStringList{"STOR:close"} << ana << secreto << QString() << page << noFile << firstFile
        << QStringList() << QStringLiteral("*");
    // The server broke the transfer off: the file it holds is incomplete,
    // whatever reply comes after.
    QTest::newRow("426 then 226") << QStringList{"FINAL=426 Cortada\r\n226 Hecho"} << ana << secreto
                                  << QString() << page << noFile << firstFile << QStringList()
                                  << QStringLiteral("426 Cortada");
    QTest::newRow("450 then 226") << QStringList{"FINAL=450 Ocupado\r\n226 Hecho"} << ana << secreto
                                  << QString() << page << noFile << firstFile << QStringList()
                                  << QStringLiteral("450 Ocupado");
    QTest::newRow("missing file in the middle")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "falta.gif", "sonido.mid"} << noFile << firstFile << page
        << QStringLiteral("No such file or directory");
    QTest::newRow("a link in the middle")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "boton.gif", "sonido.mid"} << noFile << firstFile << page
        << QStringLiteral("El archivo es un enlace a otro archivo. Brenzo nunca publica enlaces "
                          "ni lo que hay tras ellos.");
    QTest::newRow("a pipe in the middle")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "tubo.gif", "sonido.mid"} << noFile << firstFile << page
        << QStringLiteral("No es un archivo normal (es una carpeta, un dispositivo o una "
                          "tubería), y no se envía.");
    QTest::newRow("CR LF in an entry")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "x\r\nDELE pagina.htm"} << noFile << firstFile << page
        << QStringLiteral("STOR: el texto lleva un salto de línea o un carácter nulo");
}

void TestPublishJob::failures()
{
    QFETCH(QStringList, rules);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(Outcome, outcome);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, received);
    QFETCH(QString, reason);

    Job j(m_folder.path(), files);
    QString host;
    for (const QString &rule : std::as_const(rules)) {
        if (rule.startsWith(QLatin1String("FINAL=")))
            j.server.finalReplies.insert(1, rule.mid(6).toLatin1());
        else if (rule.startsWith(QLatin1String("SERVER=")))
            host = rule.mid(7);
        else
            j.server.addRules({rule});
    }

    QVERIFY(j.run(folder, false, host, user, password));
    QCOMPARE(j.outcome(), outcome);
    QCOMPARE(j.entry(), outcome == Outcome::FileFailed ? files.at(received.size()) : QString());
    if (reason == QLatin1String("*"))
        QVERIFY(!j.reason().isEmpty());
    else
        QCOMPARE(j.reason(), reason);
    QCOMPARE(commandsOf(j.server), commands);
    QCOMPARE(j.server.files.keys(), received);
    for (const QString &name : received)
        QCOMPARE(j.server.files.value(name), m_files.value(name));
    // A failed login closes the connection itself.
    if (outcome == Outcome::LoginFailed)
        QTRY_VERIFY(j.server.controlClosed || j.server.commands.isEmpty());
}

void TestPublishJob::connectingRunsOutOfTime()
{
#ifndef Q_OS_UNIX
    QSKIP("Holding a connection attempt needs the POSIX sockets of a Unix system.");
#else
    // The limit is ours, not the toolkit's: the attempt lasts until it is
    // spent, and the boxes then say so.
    UnansweredPort silent;
    QVERIFY(silent.port != 0);
    Job j(m_folder.path(), {QStringLiteral("pagina.htm")}, {2000, 120'000});
    QVERIFY(j.run(QString(), false, QStringLiteral("127.0.0.1:%1").arg(silent.port)));
    QCOMPARE(j.outcome(), Outcome::LoginFailed);
    QCOMPARE(j.reason(), QStringLiteral("El servidor no respondió en 2 s"));
#endif
}

void TestPublishJob::serverFallsSilent_data()
{
    // The greeting, the TLS handshake and the end of a file: the fault matrix.
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<Outcome>("outcome");
    const auto login = Outcome::LoginFailed;
    QTest::newRow("inside a multi-line reply") << QStringList{"USER=331-Hola\r\nsigue"} << login;
}

void TestPublishJob::serverFallsSilent()
{
    QFETCH(QStringList, rules);
    QFETCH(Outcome, outcome);
    Job j(m_folder.path(), {QStringLiteral("pagina.htm")}, {120'000, 2000});
    j.server.addRules(rules);
    QVERIFY(j.run());
    QCOMPARE(j.outcome(), outcome);
    QCOMPARE(j.reason(), QStringLiteral("El servidor dejó de responder durante 2 s."));
}

void TestPublishJob::floodedDataConnection()
{
    // Whatever a server writes into the connection a file goes out on is
    // read and dropped: it neither piles up nor stops the file.
    Job j(m_folder.path(), {QStringLiteral("fondo_cielo.jpg")});
    j.server.floodBytes = 128 * 1024 * 1024;
    const qint64 before = peakMemoryKiB();
    QVERIFY2(j.run(),
             qPrintable(QString::number(j.server.dataFlooded) + u' ' + j.server.events.join(u'|')));
    QCOMPARE(j.outcome(), Outcome::Published);
    QCOMPARE(j.server.dataFlooded, j.server.floodBytes);
    QCOMPARE(j.server.files.value(QStringLiteral("fondo_cielo.jpg")),
             m_files.value(QStringLiteral("fondo_cielo.jpg")));
    const qint64 grown = peakMemoryKiB() - before;
    qInfo() << "peak memory grew by" << grown << "KiB while the server sent"
            << j.server.dataFlooded / 1024 << "KiB";
    QVERIFY2(grown < 32 * 1024, qPrintable(QString::number(grown)));
}

QTEST_MAIN(TestPublishJob)
#include "tst_publishjob.moc"
