// SPDX-License-Identifier: GPL-3.0-or-later
// The upload run as the user meets it: "Publicar Web" against a scripted
// server on 127.0.0.1, with the exact commands the server receives, the boxes
// in their order, the status line, the inputs and the files that arrive.

#include "publish/PublishJob.h"
#include "publish/PublishSettings.h"
#include "publish/StatusLine.h"
#include "publish/TfrmEnviar.h"
#include "tests/publish/PublishRunTest.h"
#include "tests/publish/PublishTexts.h"
#include "tests/support/RecordingPrompts.h"
#include "tests/support/TlsLibrary.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace PublishTexts;
using Outcome = PublishJob::Outcome;

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

} // namespace

class TestPublishRun : public PublishRunTest {
    Q_OBJECT

private slots:
    void initTestCase() { writeFolder(); }
    void init() { forgetSettings(); }

    void successfulRun();
    void failureLeavesTheWindowReady_data();
    void failureLeavesTheWindowReady();
    void emptyList();
    void checks_data();
    void checks();
    void cancel_data();
    void cancel();
    void cancelWhileConnecting();
    void titleBarCloseWaitsForTheRun();
};

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

    PublishSettings{"antes", "antes", "antes", "antes"}.saveAllButPassword();
    PublishSettings::savePassword("antes");
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

QTEST_MAIN(TestPublishRun)
#include "tst_publishrun.moc"
