// SPDX-License-Identifier: GPL-3.0-or-later
// The upload run as the user meets it: "Publicar Web" against a scripted
// server on 127.0.0.1, with the exact commands the server receives, the boxes
// in their order, the status line, the inputs and the files that arrive.

#include "publish/ftp/FtpDataConnection.h"
#include "publish/PublishJob.h"
#include "publish/PublishSettings.h"
#include "publish/SettingsKeeper.h"
#include "publish/StatusLine.h"
#include "publish/TfrmEnviar.h"
#include "tests/publish/PublishTexts.h"
#include "tests/publish/ScriptedFtpServer.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TlsLibrary.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using namespace PublishTexts;
using Outcome = PublishJob::Outcome;

QByteArray randomBytes(qsizetype size)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(quint32(size)).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

QStringList commandsOf(const ScriptedFtpServer &server)
{
    QStringList lines;
    for (const QByteArray &line : server.commands)
        lines.append(QString::fromLatin1(line));
    return lines;
}

// One publishing window aimed at one scripted server.
struct Session {
    RecordingPrompts prompts;
    ScriptedFtpServer server;
    TfrmEnviar window{prompts};
    QStringList statuses;
    int settingsSaved = 0;

    Session(const QString &folder, const QStringList &files)
    {
        server.listen();
        window.setUpload(folder, files);
        QObject::connect(&window, &TfrmEnviar::statusChanged,
                         [this](const QString &text) { statuses.append(text); });
        QObject::connect(&window, &TfrmEnviar::settingsSaved, [this] { ++settingsSaved; });
        window.show();
        fill(host(), QStringLiteral("ana"), QStringLiteral("secreto"), QString());
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server.port()); }

    template <typename T> T *child(const char *name)
    {
        return window.findChild<T *>(QLatin1String(name));
    }

    void fill(const QString &host, const QString &user, const QString &password,
              const QString &folder)
    {
        child<QLineEdit>("txtServer")->setText(host);
        child<QLineEdit>("txtUSer")->setText(user);
        child<QLineEdit>("txtPassword")->setText(password);
        child<QComboBox>("txtRemoto")->setEditText(folder);
    }

    void publish() { child<QPushButton>("btnPublica")->click(); }
    void cancel() { child<QPushButton>("BitBtn2")->click(); }

    // Every run, however it ends, enables "Publicar Web" again.
    bool waitForRunEnd()
    {
        return QTest::qWaitFor([this] { return child<QPushButton>("btnPublica")->isEnabled(); },
                               20000);
    }

    // The settings are written on a thread of their own while the run goes on.
    bool waitForSettingsSaved()
    {
        return QTest::qWaitFor([this] { return settingsSaved > 0; }, 20000);
    }

    QStringList messages() const { return prompts.messageTexts(); }
    QStringList commands() const { return commandsOf(server); }
};

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

class TestPublishRun : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void successfulRun();
    void serverVariants_data();
    void serverVariants();
    void failures_data();
    void failures();
    void failureLeavesTheWindowReady_data();
    void failureLeavesTheWindowReady();
    void emptyList();
    void checks_data();
    void checks();
    void cancel_data();
    void cancel();
    void cancelWhileConnecting();
    void connectingRunsOutOfTime();
    void serverFallsSilent_data();
    void serverFallsSilent();
    void floodedDataConnection();
    void titleBarCloseWaitsForTheRun();

private:
    QString path(const QString &name) const { return m_folder.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes);
    // A file large enough that its sending takes many turns of the loop.
    QString bigFile();

    QTemporaryDir m_config;
    QTemporaryDir m_folder;
    QMap<QString, QByteArray> m_files;
};

void TestPublishRun::initTestCase()
{
    // Before the first QSettings: no test touches the user's own settings.
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    QVERIFY(m_folder.isValid());
    writeFile(QStringLiteral("pagina.htm"), "<HTML>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\nPe\xf1"
                                            "a\r\n</BODY>\r\n</HTML>\r\n");
    // Longer than the data connection's queue and no whole number of its
    // blocks: the file is read and queued over several rounds.
    writeFile(QStringLiteral("fondo_cielo.jpg"),
              randomBytes(FtpDataConnection::QueueLimit + FtpDataConnection::BlockSize / 2 + 7));
    writeFile(QStringLiteral("vacio.gif"), QByteArray());
    writeFile(QStringLiteral("sonido.mid"), randomBytes(1000));
    // A name that would carry a second command; the file itself is there.
    writeFile(QStringLiteral("x\r\nDELE pagina.htm"), "x");
    // In a picture's place: a link to a private file, and a pipe.
    writeFile(QStringLiteral("secreto.txt"), "privado");
    QVERIFY(QFile::link(path(QStringLiteral("secreto.txt")), path(QStringLiteral("boton.gif"))));
#ifdef Q_OS_UNIX
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("tubo.gif"))).constData(), 0600), 0);
#endif
}

void TestPublishRun::init()
{
    QFile::remove(
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrenzoFTP"))
            .fileName());
}

void TestPublishRun::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    m_files.insert(name, bytes);
}

QString TestPublishRun::bigFile()
{
    const QString name = QStringLiteral("grande.bin");
    if (!m_files.contains(name))
        writeFile(name, randomBytes(48 * 1024 * 1024));
    return name;
}

void TestPublishRun::successfulRun()
{
    const QStringList files = {QStringLiteral("pagina.htm"), QStringLiteral("fondo_cielo.jpg"),
                               QStringLiteral("vacio.gif"), QStringLiteral("sonido.mid")};
    Session s(m_folder.path(), files);
    // Blanks and control characters around the texts, the folder's too: each
    // is sent as it is saved, trimmed.
    s.fill(u' ' + s.host() + u'\t', QStringLiteral("  ana "), QStringLiteral("\tsecreto \x01"),
           QStringLiteral(" /site"));
    QString statusDuringBox;
    int barDuringBox = 0;
    bool inputsEnabledDuringBox = true;
    s.prompts.onCall = [&](const RecordingPrompts::Call &) {
        statusDuringBox = s.child<QLabel>("lblEstado")->text();
        barDuringBox = s.child<StatusLine>("lblEstado")->barWidth();
        inputsEnabledDuringBox = s.child<QLineEdit>("txtServer")->isEnabled();
    };

    s.publish();
    for (const char *name :
         {"txtServer", "txtUSer", "txtPassword", "txtRemoto", "cmbConexion", "btnPublica"})
        QVERIFY2(!s.child<QWidget>(name)->isEnabled(), name);
    QVERIFY(s.child<QPushButton>("BitBtn2")->isEnabled());
    QVERIFY(s.child<QPushButton>("BitBtn1")->isEnabled());
    // Saved once, trimmed, while the run goes on.
    QVERIFY(s.waitForSettingsSaved());
    const PublishSettings saved = PublishSettings::load();
    QCOMPARE(saved.server, s.host());
    QCOMPARE(saved.user, QStringLiteral("ana"));
    QCOMPARE(saved.password, QStringLiteral("secreto"));
    QCOMPARE(saved.folder, QStringLiteral("/site"));

    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.commands(), QStringList({"USER ana", "PASS secreto", "TYPE I", "SYST", "CWD /site",
                                        "PASV", "STOR pagina.htm", "PASV", "STOR fondo_cielo.jpg",
                                        "PASV", "STOR vacio.gif", "PASV", "STOR sonido.mid"}));
    // Each STOR reaches the server before its data connection does.
    for (const QString &file : files) {
        const qsizetype stor = s.server.events.indexOf(QStringLiteral("CMD STOR ") + file);
        QVERIFY(stor >= 0);
        QCOMPARE(s.server.events.value(stor + 1), QStringLiteral("DATA OPEN"));
        QCOMPARE(s.server.files.value(file), m_files.value(file));
    }

    QCOMPARE(s.settingsSaved, 1);
    QCOMPARE(s.prompts.calls.size(), 1);
    QCOMPARE(s.prompts.calls[0].title, QStringLiteral("Brenzo"));
    QCOMPARE(s.prompts.calls[0].text, Published);
    QCOMPARE(s.prompts.calls[0].icon, PromptIcon::Information);
    QCOMPARE(statusDuringBox, QStringLiteral("Enviando el archivo: sonido.mid ..."));
    // The bar is full behind the last text, and gone with the run.
    QCOMPARE(barDuringBox, s.child<StatusLine>("lblEstado")->contentsRect().width());
    QCOMPARE(s.child<StatusLine>("lblEstado")->barWidth(), 0);
    QVERIFY(!inputsEnabledDuringBox);

    QVERIFY(!s.window.isVisible());
    QCOMPARE(s.statuses,
             QStringList(
                 {"Iniciando conexión con servidor FTP ...", "Conectado con el servidor FTP",
                  "Situándose en directorio remoto inicial ...",
                  "Enviando el archivo: pagina.htm ...", "Enviando el archivo: fondo_cielo.jpg ...",
                  "Enviando el archivo: vacio.gif ...", "Enviando el archivo: sonido.mid ...", "",
                  "Desconectando...Espere...", "No conectado", ""}));
    // The window's closing ended the session by closing the connection.
    QTRY_VERIFY(s.server.controlClosed);
    QVERIFY(!s.server.commands.contains("QUIT"));
    // Plain FTP never loads the TLS library.
    QVERIFY(!tlsLibraryLoaded());
}

void TestPublishRun::serverVariants_data()
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

void TestPublishRun::serverVariants()
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

void TestPublishRun::failures_data()
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

void TestPublishRun::failures()
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

void TestPublishRun::failureLeavesTheWindowReady_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("login") << "PASS=530 No" << QStringList{CannotConnect, CannotLogIn};
    QTest::newRow("folder") << "CWD=550 No" << QStringList{CannotChangeFolder};
    QTest::newRow("file") << "STOR=553 No" << QStringList{cannotSend("pagina.htm")};
}

void TestPublishRun::failureLeavesTheWindowReady()
{
    QFETCH(QString, rule);
    QFETCH(QStringList, messages);
    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.server.addRules({rule});
    s.child<QComboBox>("txtRemoto")->setEditText(QStringLiteral("/site"));
    QStringList statusAtFirstBox;
    s.prompts.onCall = [&](const RecordingPrompts::Call &) {
        if (statusAtFirstBox.isEmpty())
            statusAtFirstBox = s.statuses;
    };

    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), messages);
    // Every box is a warning that offers why the step failed.
    for (const RecordingPrompts::Call &call : std::as_const(s.prompts.calls)) {
        QCOMPARE(call.title, ErrorTitle);
        QCOMPARE(call.icon, PromptIcon::Warning);
        QCOMPARE(call.details, rule.section(u'=', 1));
    }
    // The window stays open, ready for another try.
    QVERIFY(s.window.isVisible());
    for (const char *name :
         {"txtServer", "txtUSer", "txtPassword", "txtRemoto", "cmbConexion", "btnPublica"})
        QVERIFY2(s.child<QWidget>(name)->isEnabled(), name);
    QCOMPARE(s.child<QLabel>("lblEstado")->text(), QString());
    QCOMPARE(s.statuses.last(), QString());
    QTRY_VERIFY(s.server.controlClosed);
    // A refused login closes the connection before the run tells of it.
    if (messages.size() == 2)
        QCOMPARE(statusAtFirstBox.last(), QStringLiteral("No conectado"));
    // Whatever the outcome, the settings were stored.
    QVERIFY(s.waitForSettingsSaved());
    QCOMPARE(PublishSettings::load().password, QStringLiteral("secreto"));
}

void TestPublishRun::emptyList()
{
    Session s(m_folder.path(), {});
    // A folder of blanks is no folder: no CWD.
    s.child<QComboBox>("txtRemoto")->setEditText(QStringLiteral(" \t "));
    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.commands(), QStringList({"USER ana", "PASS secreto", "TYPE I", "SYST"}));
    QCOMPARE(s.messages(), QStringList{Published});
    QVERIFY(!s.window.isVisible());
}

void TestPublishRun::checks_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("server of blanks") << " \t "
                                      << "ana"
                                      << "secreto"
                                      << "Debe indicar nombre del servidor FTP"
                                      << "txtServer";
    QTest::newRow("server of control characters") << QStringLiteral("\x01\x1f") << "ana"
                                                  << "secreto"
                                                  << "Debe indicar nombre del servidor FTP"
                                                  << "txtServer";
    QTest::newRow("no user") << "127.0.0.1"
                             << ""
                             << "secreto"
                             << "Debe indicar nombre de usuario"
                             << "txtUSer";
    QTest::newRow("password of blanks") << "127.0.0.1"
                                        << "ana"
                                        << "   "
                                        << "Debe indicar su contraseña"
                                        << "txtPassword";
}

void TestPublishRun::checks()
{
    QFETCH(QString, host);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    PublishSettings{"antes", "antes", "antes", "antes"}.save();
    {
        Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
        s.fill(host, user, password, QStringLiteral("/site"));
        s.publish();

        QCOMPARE(s.messages(), QStringList{message});
        QCOMPARE(s.prompts.calls[0].title, ErrorTitle);
        QCOMPARE(s.prompts.calls[0].icon, PromptIcon::Warning);
        QCOMPARE(s.window.focusWidget()->objectName(), focus);
        QVERIFY(s.statuses.isEmpty());
        QVERIFY(s.child<QPushButton>("btnPublica")->isEnabled());
        QVERIFY(s.window.isVisible());
    }
    // Read once the window is gone, so that a save it had asked for is in.
    QCOMPARE(PublishSettings::load().server, QStringLiteral("antes"));
}

void TestPublishRun::cancel_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QByteArray>("waitFor"); // the command the run is stuck at
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("greeting never comes") << QStringList{"GREETING:stall"} << QByteArray()
                                          << QStringList{Cancelled, CannotConnect, CannotLogIn};
    QTest::newRow("password never answered") << QStringList{"PASS:stall"} << QByteArray("PASS")
                                             << QStringList{Cancelled, CannotConnect, CannotLogIn};
    QTest::newRow("folder never answered") << QStringList{"CWD:stall"} << QByteArray("CWD")
                                           << QStringList{Cancelled, CannotChangeFolder};
    QTest::newRow("large file the server reads slowly")
        << QStringList{"STALLDATA"} << QByteArray("STOR")
        << QStringList{Cancelled, cannotSend("grande.bin")};
}

void TestPublishRun::cancel()
{
    QFETCH(QStringList, rules);
    QFETCH(QByteArray, waitFor);
    QFETCH(QStringList, messages);

    const bool transfer = rules == QStringList{"STALLDATA"};
    Session s(m_folder.path(), {transfer ? bigFile() : QStringLiteral("pagina.htm")});
    if (transfer)
        s.server.stallData = true;
    else
        s.server.addRules(rules);
    s.child<QComboBox>("txtRemoto")->setEditText(QStringLiteral("/site"));
    // A real message box runs its own event loop, in which the run may well
    // end: its box must not open on top of the cancel box, but after it.
    qsizetype promptsDuringCancelBox = 0;
    s.prompts.onCall = [&](const RecordingPrompts::Call &call) {
        if (call.text != Cancelled)
            return;
        const qsizetype before = s.prompts.calls.size();
        QCoreApplication::processEvents();
        promptsDuringCancelBox = s.prompts.calls.size() - before;
    };

    s.publish();
    if (waitFor.isEmpty()) {
        QTRY_VERIFY(s.statuses.contains(QStringLiteral("Conectado con el servidor FTP")));
    } else {
        QTRY_VERIFY(!s.server.commands.isEmpty() && s.server.commands.last().startsWith(waitFor));
    }
    if (transfer) {
        // The bar shows how far the large file has got.
        QTRY_VERIFY(s.child<StatusLine>("lblEstado")->barWidth() > 0);
        QVERIFY(s.child<StatusLine>("lblEstado")->barWidth() <
                s.child<StatusLine>("lblEstado")->contentsRect().width());
    }

    s.cancel();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), messages);
    QCOMPARE(promptsDuringCancelBox, 0);
    QVERIFY(!s.window.isVisible());
    QTRY_VERIFY(s.server.controlClosed);
    if (transfer) {
        // The data connection was closed too: once the server reads again,
        // it finds the end long before the end of the file.
        s.server.resumeData();
        QTRY_VERIFY(s.server.dataClosed);
        QVERIFY(s.server.dataReceived < m_files.value(bigFile()).size());
    }
}

#ifdef Q_OS_UNIX
namespace {
// A listening socket whose queue is full and that never accepts: the system
// leaves further connection attempts unanswered, like a host that does not
// reply.
struct UnansweredPort {
    int listener = -1;
    quint16 port = 0;
    QList<QTcpSocket *> fillers;

    UnansweredPort()
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(listener, 0) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            fillers.append(new QTcpSocket);
            fillers.last()->connectToHost(QHostAddress::LocalHost, port);
        }
        if (!QTest::qWaitFor(
                [this] { return fillers[0]->state() == QAbstractSocket::ConnectedState; }))
            port = 0;
    }
    ~UnansweredPort()
    {
        qDeleteAll(fillers);
        ::close(listener);
    }
};
} // namespace
#endif

void TestPublishRun::cancelWhileConnecting()
{
#ifndef Q_OS_UNIX
    QSKIP("Holding a connection attempt needs the POSIX sockets of a Unix system.");
#else
    UnansweredPort silent;
    QVERIFY(silent.port != 0);
    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.child<QLineEdit>("txtServer")->setText(QStringLiteral("127.0.0.1:%1").arg(silent.port));
    s.publish();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    if (s.statuses.contains(QStringLiteral("Conectado con el servidor FTP")))
        QSKIP("This system answered the connection attempt; cannot hold it in connecting.");

    s.cancel();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), QStringList({Cancelled, CannotConnect, CannotLogIn}));
    QVERIFY(!s.window.isVisible());
    QVERIFY(!s.statuses.contains(QStringLiteral("Conectado con el servidor FTP")));
#endif
}

void TestPublishRun::connectingRunsOutOfTime()
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

void TestPublishRun::serverFallsSilent_data()
{
    // The greeting, the TLS handshake and the end of a file: the fault matrix.
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<Outcome>("outcome");
    const auto login = Outcome::LoginFailed;
    QTest::newRow("inside a multi-line reply") << QStringList{"USER=331-Hola\r\nsigue"} << login;
}

void TestPublishRun::serverFallsSilent()
{
    QFETCH(QStringList, rules);
    QFETCH(Outcome, outcome);
    Job j(m_folder.path(), {QStringLiteral("pagina.htm")}, {120'000, 2000});
    j.server.addRules(rules);
    QVERIFY(j.run());
    QCOMPARE(j.outcome(), outcome);
    QCOMPARE(j.reason(), QStringLiteral("El servidor dejó de responder durante 2 s."));
}

void TestPublishRun::titleBarCloseWaitsForTheRun()
{
    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.server.stallAt("CWD");
    s.child<QComboBox>("txtRemoto")->setEditText(QStringLiteral("/site"));
    s.publish();
    QTRY_VERIFY(s.server.commands.contains("CWD /site"));

    s.window.close();
    QVERIFY(s.window.isVisible());
    QVERIFY(s.prompts.calls.isEmpty());

    s.server.sendNow("550 No existe");
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), QStringList{CannotChangeFolder});
    QVERIFY(!s.window.isVisible());
}

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

void TestPublishRun::floodedDataConnection()
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

QTEST_MAIN(TestPublishRun)
#include "tst_publishrun.moc"
