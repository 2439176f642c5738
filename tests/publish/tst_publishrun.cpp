// SPDX-License-Identifier: GPL-3.0-or-later
// The upload run as the user meets it: "Publicar Web" against a scripted
// server on 127.0.0.1, with the exact commands the server receives, the boxes
// in their order, the status line, the inputs and the files that arrive.

#include "FtpDataConnection.h"
#include "PublishSettings.h"
#include "PublishTexts.h"
#include "RecordingPrompts.h"
#include "ScriptedFtpServer.h"
#include "StatusLine.h"
#include "TfrmEnviar.h"
#include "TlsLibrary.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

using namespace PublishTexts;

QByteArray randomBytes(qsizetype size)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(quint32(size)).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
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
        window.ftpClient().setPort(server.port());
        window.setUpload(folder, files);
        QObject::connect(&window, &TfrmEnviar::statusChanged,
                         [this](const QString &text) { statuses.append(text); });
        QObject::connect(&window, &TfrmEnviar::settingsSaved, [this] { ++settingsSaved; });
        window.show();
        fill(QStringLiteral("127.0.0.1"), QStringLiteral("ana"), QStringLiteral("secreto"),
             QString());
    }

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

    QStringList commands() const
    {
        QStringList lines;
        for (const QByteArray &line : server.commands)
            lines.append(QString::fromLatin1(line));
        return lines;
    }
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
    void emptyList();
    void checks_data();
    void checks();
    void cancel_data();
    void cancel();
    void cancelWhileConnecting();
    void connectingRunsOutOfTime();
    void serverFallsSilent_data();
    void serverFallsSilent();
    void controlLostMidFile();
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
    s.fill(QStringLiteral(" 127.0.0.1\t"), QStringLiteral("  ana "),
           QStringLiteral("\tsecreto \x01"), QStringLiteral(" /site"));
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
    QCOMPARE(saved.server, QStringLiteral("127.0.0.1"));
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
    QTest::newRow("folder of blanks: no CWD") << QStringList() << pasv << local << QByteArray()
                                              << QStringLiteral(" \t ") << login + store;
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

    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.server.addRules(rules);
    s.server.passiveFormat = passiveFormat;
    s.server.passiveHost = passiveHost;
    if (!finalReply.isEmpty())
        s.server.finalReplies.insert(1, finalReply);
    s.child<QComboBox>("txtRemoto")->setEditText(folder);

    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), QStringList{Published});
    QCOMPARE(s.commands(), commands);
    QCOMPARE(s.server.files.value(QStringLiteral("pagina.htm")),
             m_files.value(QStringLiteral("pagina.htm")));
}

void TestPublishRun::failures_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QString>("details"); // of every box; "*" for any text at all

    const QString ana = QStringLiteral("ana"), secreto = QStringLiteral("secreto");
    const QStringList page = {QStringLiteral("pagina.htm")};
    const QStringList three = {QStringLiteral("pagina.htm"), QStringLiteral("fondo_cielo.jpg"),
                               QStringLiteral("sonido.mid")};
    const QStringList both = {CannotConnect, CannotLogIn};
    const QStringList login = {"USER ana", "PASS secreto", "TYPE I", "SYST"};
    const QStringList firstFile = login + QStringList{"PASV", "STOR pagina.htm"};

    QTest::newRow("wrong password")
        << QStringList{"PASS=530 Login incorrect"} << ana << secreto << QString() << page << both
        << QStringList{"USER ana", "PASS secreto"} << QStringList()
        << QStringLiteral("530 Login incorrect");
    QTest::newRow("greeting refused")
        << QStringList{"GREETING=421 Demasiados usuarios"} << ana << secreto << QString() << page
        << both << QStringList() << QStringList() << QStringLiteral("421 Demasiados usuarios");
    QTest::newRow("TYPE refused") << QStringList{"TYPE=504 No"} << ana << secreto << QString()
                                  << page << both << login.mid(0, 3) << QStringList()
                                  << QStringLiteral("504 No");
    QTest::newRow("SYST answered 502")
        << QStringList{"SYST=502 No"} << ana << secreto << QString() << page << both << login
        << QStringList() << QStringLiteral("502 No");
    QTest::newRow("closed after USER") << QStringList{"USER:close"} << ana << secreto << QString()
                                       << page << both << QStringList{"USER ana"} << QStringList()
                                       << QStringLiteral("The remote host closed the connection");
    QTest::newRow("reply line of 20000 characters")
        << QStringList{"USER=331 " + QString(20000, u'x')} << ana << secreto << QString() << page
        << both << QStringList{"USER ana"} << QStringList()
        << QStringLiteral("El servidor envió una línea que no es una respuesta FTP");
    QTest::newRow("LF in the user name")
        << QStringList() << QStringLiteral("ana\nDELE pagina.htm") << secreto << QString() << page
        << both << QStringList() << QStringList()
        << QStringLiteral("USER: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("CR in the password")
        << QStringList() << ana << QStringLiteral("se\rDELE pagina.htm") << QString() << page
        << both << QStringList{"USER ana"} << QStringList()
        << QStringLiteral("PASS: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("CWD refused") << QStringList{"CWD=550 No existe"} << ana << secreto
                                 << QStringLiteral("/site") << page
                                 << QStringList{CannotChangeFolder}
                                 << login + QStringList{"CWD /site"} << QStringList()
                                 << QStringLiteral("550 No existe");
    QTest::newRow("LF in the folder")
        << QStringList() << ana << secreto << QStringLiteral("/site\nDELE pagina.htm") << page
        << QStringList{CannotChangeFolder} << login << QStringList()
        << QStringLiteral("CWD: el texto lleva un salto de línea o un carácter nulo");
    QTest::newRow("PASV refused") << QStringList{"PASV=425 No"} << ana << secreto << QString()
                                  << page << QStringList{cannotSend("pagina.htm")}
                                  << login + QStringList{"PASV"} << QStringList()
                                  << QStringLiteral("425 No");
    QTest::newRow("227 unreadable")
        << QStringList{"PASV=227 Entering Passive Mode (1,2)"} << ana << secreto << QString()
        << page << QStringList{cannotSend("pagina.htm")} << login + QStringList{"PASV"}
        << QStringList() << QStringLiteral("227 Entering Passive Mode (1,2)");
    QTest::newRow("second STOR refused")
        << QStringList{"STOR#2=553 No permitido"} << ana << secreto << QString() << three
        << QStringList{cannotSend("fondo_cielo.jpg")}
        << firstFile + QStringList{"PASV", "STOR fondo_cielo.jpg"} << page
        << QStringLiteral("553 No permitido");
    QTest::newRow("closed after STOR") << QStringList{"STOR:close"} << ana << secreto << QString()
                                       << page << QStringList{cannotSend("pagina.htm")} << firstFile
                                       << QStringList() << QStringLiteral("*");
    // The server broke the transfer off: the file it holds is incomplete,
    // whatever reply comes after.
    QTest::newRow("426 then 226") << QStringList{"FINAL=426 Cortada\r\n226 Hecho"} << ana << secreto
                                  << QString() << page << QStringList{cannotSend("pagina.htm")}
                                  << firstFile << QStringList() << QStringLiteral("426 Cortada");
    QTest::newRow("450 then 226") << QStringList{"FINAL=450 Ocupado\r\n226 Hecho"} << ana << secreto
                                  << QString() << page << QStringList{cannotSend("pagina.htm")}
                                  << firstFile << QStringList() << QStringLiteral("450 Ocupado");
    QTest::newRow("missing file in the middle")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "falta.gif", "sonido.mid"}
        << QStringList{cannotSend("falta.gif")} << firstFile << page
        << QStringLiteral("No such file or directory");
    QTest::newRow("CR LF in an entry")
        << QStringList() << ana << secreto << QString()
        << QStringList{"pagina.htm", "x\r\nDELE pagina.htm"}
        << QStringList{cannotSend("x\r\nDELE pagina.htm")} << firstFile << page
        << QStringLiteral("STOR: el texto lleva un salto de línea o un carácter nulo");
}

void TestPublishRun::failures()
{
    QFETCH(QStringList, rules);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, received);
    QFETCH(QString, details);

    Session s(m_folder.path(), files);
    for (const QString &rule : std::as_const(rules)) {
        if (rule.startsWith(QLatin1String("FINAL=")))
            s.server.finalReplies.insert(1, rule.mid(6).toLatin1());
        else
            s.server.addRules({rule});
    }
    s.fill(QStringLiteral("127.0.0.1"), user, password, folder);
    QCOMPARE(s.child<QLineEdit>("txtUSer")->text(), user);
    QCOMPARE(s.child<QComboBox>("txtRemoto")->currentText(), folder);
    QStringList statusAtFirstBox;
    s.prompts.onCall = [&](const RecordingPrompts::Call &) {
        if (statusAtFirstBox.isEmpty())
            statusAtFirstBox = s.statuses;
    };

    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), messages);
    for (const RecordingPrompts::Call &call : std::as_const(s.prompts.calls)) {
        QCOMPARE(call.title, ErrorTitle);
        QCOMPARE(call.icon, PromptIcon::Warning);
        if (details == QLatin1String("*"))
            QVERIFY(!call.details.isEmpty());
        else
            QCOMPARE(call.details, details);
    }
    QCOMPARE(s.commands(), commands);
    QCOMPARE(s.server.files.keys(), received);
    for (const QString &name : received)
        QCOMPARE(s.server.files.value(name), m_files.value(name));

    // The window stays open with what was typed, ready for another try.
    QVERIFY(s.window.isVisible());
    QCOMPARE(s.child<QLineEdit>("txtUSer")->text(), user);
    for (const char *name :
         {"txtServer", "txtUSer", "txtPassword", "txtRemoto", "cmbConexion", "btnPublica"})
        QVERIFY2(s.child<QWidget>(name)->isEnabled(), name);
    QCOMPARE(s.child<QLabel>("lblEstado")->text(), QString());
    QCOMPARE(s.statuses.last(), QString());
    QTRY_VERIFY(s.server.controlClosed || s.commands().isEmpty());
    // A refused login closes the connection before the run tells of it.
    if (messages == QStringList{CannotConnect, CannotLogIn} && !commands.isEmpty())
        QCOMPARE(statusAtFirstBox.last(), QStringLiteral("No conectado"));
    // Whatever the outcome, the settings were stored.
    QVERIFY(s.waitForSettingsSaved());
    QCOMPARE(PublishSettings::load().password, password);
}

void TestPublishRun::emptyList()
{
    Session s(m_folder.path(), {});
    s.child<QComboBox>("txtRemoto")->setEditText(QStringLiteral("/htdocs"));
    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.commands(),
             QStringList({"USER ana", "PASS secreto", "TYPE I", "SYST", "CWD /htdocs"}));
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
    s.window.ftpClient().setPort(silent.port);
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
    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.window.ftpClient().setPort(silent.port);
    s.window.ftpClient().setConnectTimeout(2000);
    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), QStringList({CannotConnect, CannotLogIn}));
    QCOMPARE(s.prompts.calls[0].details, QStringLiteral("El servidor no respondió en 2 s"));
#endif
}

void TestPublishRun::serverFallsSilent_data()
{
    QTest::addColumn<QStringList>("rules"); // FTPS and FINAL:stall are the test's own
    QTest::addColumn<QStringList>("messages");
    const QStringList both = {CannotConnect, CannotLogIn};
    QTest::newRow("at the greeting") << QStringList{"GREETING:stall"} << both;
    QTest::newRow("inside a multi-line reply") << QStringList{"USER=331-Hola\r\nsigue"} << both;
    QTest::newRow("during the TLS handshake") << QStringList{"FTPS", "AUTH=234 Adelante"} << both;
    QTest::newRow("at the end of a file")
        << QStringList{"FINAL:stall"} << QStringList{cannotSend("pagina.htm")};
}

void TestPublishRun::serverFallsSilent()
{
    QFETCH(QStringList, rules);
    QFETCH(QStringList, messages);
    Session s(m_folder.path(), {QStringLiteral("pagina.htm")});
    s.child<QComboBox>("cmbConexion")->setCurrentIndex(rules.removeAll(QStringLiteral("FTPS")) > 0);
    if (rules.removeAll(QStringLiteral("FINAL:stall")))
        s.server.finalReplies.insert(1, QByteArray()); // none at all
    s.server.addRules(rules);
    s.window.ftpClient().setSilenceTimeout(2000);
    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), messages);
    for (const RecordingPrompts::Call &call : std::as_const(s.prompts.calls))
        QCOMPARE(call.details, QStringLiteral("El servidor dejó de responder durante 2 s."));
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

void TestPublishRun::controlLostMidFile()
{
    Session s(m_folder.path(), {bigFile()});
    s.server.closeControlAfterDataBytes = 1024 * 1024;
    s.publish();
    QVERIFY(s.waitForRunEnd());
    QCOMPARE(s.messages(), QStringList{cannotSend(bigFile())});
    QCOMPARE(s.prompts.calls[0].details, QStringLiteral("The remote host closed the connection"));
    QTRY_VERIFY(s.server.dataClosed);
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
    Session s(m_folder.path(), {QStringLiteral("fondo_cielo.jpg")});
    s.server.floodBytes = 128 * 1024 * 1024;
    const qint64 before = peakMemoryKiB();
    s.publish();
    QVERIFY2(s.waitForRunEnd(),
             qPrintable(QString::number(s.server.dataFlooded) + u' ' + s.server.events.join(u'|')));
    QCOMPARE(s.messages(), QStringList{Published});
    QCOMPARE(s.server.dataFlooded, s.server.floodBytes);
    QCOMPARE(s.server.files.value(QStringLiteral("fondo_cielo.jpg")),
             m_files.value(QStringLiteral("fondo_cielo.jpg")));
    const qint64 grown = peakMemoryKiB() - before;
    qInfo() << "peak memory grew by" << grown << "KiB while the server sent"
            << s.server.dataFlooded / 1024 << "KiB";
    QVERIFY2(grown < 32 * 1024, qPrintable(QString::number(grown)));
}

QTEST_MAIN(TestPublishRun)
#include "tst_publishrun.moc"
