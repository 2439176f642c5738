// SPDX-License-Identifier: GPL-3.0-or-later
// The remembered settings: read once when the window is created, written
// trimmed by the run only, on the settings writer's thread and in the order
// asked for, never lost to the window's end, and kept where only their owner
// can read them.

#include "page/PageWriter.h"
#include "page/SavedWork.h"
#include "publish/PublishSettings.h"
#include "publish/TfrmEnviar.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QtTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class TestPublishSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstStart();
    void loading_data();
    void loading();
    void savingTrims();
    void ownerOnly_data();
    void ownerOnly();
    void readOnceAtCreation();
    void savesInTheBackground_data();
    void savesInTheBackground();
    void publishingThenQuitting();
    void failedWritesChangeNothing_data();
    void failedWritesChangeNothing();

private:
    QString settingsFile() const { return m_config.filePath(QStringLiteral("BrenzoFTP.conf")); }
    // The four boxes once the window is shown and its password has come.
    QStringList boxes(TfrmEnviar &window) const;
    void fill(TfrmEnviar &window, const QStringList &texts) const;
    // The file's permission bits, -1 when it is missing.
    int storeMode() const;
    void writeStore(const QByteArray &contents, const QString &path = {});

    QTemporaryDir m_config;
};

void TestPublishSettings::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

void TestPublishSettings::init()
{
    QFile::remove(settingsFile());
}

QStringList TestPublishSettings::boxes(TfrmEnviar &window) const
{
    // The password is read from its store when the window is first shown,
    // and comes from the event loop.
    if (!window.isVisible()) {
        QSignalSpy read(&window, &TfrmEnviar::passwordRead);
        window.show();
        if (read.isEmpty())
            read.wait();
    }
    return {window.findChild<QLineEdit *>(QStringLiteral("txtServer"))->text(),
            window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->text(),
            window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->text(),
            window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->currentText()};
}

void TestPublishSettings::fill(TfrmEnviar &window, const QStringList &texts) const
{
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))->setText(texts.value(0));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->setText(texts.value(1));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(texts.value(2));
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->setEditText(texts.value(3));
}

int TestPublishSettings::storeMode() const
{
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(settingsFile()).constData(), &status) != 0)
        return -1;
    return int(status.st_mode & 07777);
#else
    return -1;
#endif
}

void TestPublishSettings::writeStore(const QByteArray &contents, const QString &path)
{
    QFile file(path.isEmpty() ? settingsFile() : path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

void TestPublishSettings::firstStart()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QCOMPARE(boxes(window), QStringList({"", "", "", ""}));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblEstado"))->text(),
             QStringLiteral("No Conectado"));
    QVERIFY(prompts.calls.isEmpty());
}

void TestPublishSettings::loading_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QStringList>("shown");

    QTest::addColumn<QString>("connection");

    QTest::newRow("all four") << QByteArray("[General]\nServidor=ftp.ejemplo.es\nUsuario=ana\n"
                                            "Password=secreto\nDirectorio=/public_html\n")
                              << QStringList{"ftp.ejemplo.es", "ana", "secreto", "/public_html"}
                              << "FTP";
    QTest::newRow("all five") << QByteArray("[General]\nServidor=ftp.ejemplo.es\nUsuario=ana\n"
                                            "Password=secreto\nDirectorio=/\nFTPS=true\n")
                              << QStringList{"ftp.ejemplo.es", "ana", "secreto", "/"}
                              << "FTPS (FTP con TLS)";
    QTest::newRow("connection over FTPS") << QByteArray("[General]\nConexion=sftp\nFTPS=true\n")
                                          << QStringList{"", "", "", ""} << "SFTP (SSH)";
    QTest::newRow("folder not in the list")
        << QByteArray("[General]\nDirectorio=/site\n") << QStringList{"", "", "", "/site"} << "FTP";
    QTest::newRow("a value that is not a text")
        << QByteArray("[General]\nServidor=uno, dos\nUsuario=ana\nFTPS=uno, dos\n")
        << QStringList{"", "ana", "", ""} << "FTP";
}

void TestPublishSettings::loading()
{
    QFETCH(QByteArray, store);
    QFETCH(QStringList, shown);
    QFETCH(QString, connection);
    writeStore(store);
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QCOMPARE(boxes(window), shown);
    QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cmbConexion"))->currentText(),
             connection);
}

void TestPublishSettings::savingTrims()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral(" ftp.ejemplo.es\t"));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))
        ->setText(QStringLiteral("\x01"
                                 "ana "));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))
        ->setText(QStringLiteral(" se creto\x1f"));
    // Characters above 127 are never trimmed, not even a no-break space.
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))
        ->setEditText(QStringLiteral(" /sitio\u00a0"));
    window.findChild<QComboBox *>(QStringLiteral("cmbConexion"))->setCurrentIndex(2);
    window.findChild<QLineEdit *>(QStringLiteral("txtDireccion"))
        ->setText(QStringLiteral(" www.ejemplo.es/ana "));
    QSignalSpy saved(&window, &TfrmEnviar::settingsSaved);
    window.SaveSettings();
    QVERIFY(saved.wait());

    RecordingPrompts nextPrompts;
    TfrmEnviar nextStart(nextPrompts);
    QCOMPARE(boxes(nextStart),
             QStringList({"ftp.ejemplo.es", "ana", "se creto", QStringLiteral("/sitio\u00a0")}));
    QCOMPARE(nextStart.findChild<QComboBox *>(QStringLiteral("cmbConexion"))->currentText(),
             QStringLiteral("SFTP (SSH)"));
    QCOMPARE(nextStart.findChild<QLineEdit *>(QStringLiteral("txtDireccion"))->text(),
             QStringLiteral("www.ejemplo.es/ana"));
}

void TestPublishSettings::ownerOnly_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("byWindow"); // else PublishSettings::save on this thread
    QTest::newRow("new store") << false << false;
    QTest::newRow("store readable by all") << true << false;
    QTest::newRow("new store, saved by the window") << false << true;
    QTest::newRow("store readable by all, saved by the window") << true << true;
}

void TestPublishSettings::ownerOnly()
{
#ifndef Q_OS_UNIX
    QSKIP("The settings live in a file only on Unix systems.");
#else
    QFETCH(bool, existing);
    QFETCH(bool, byWindow);
    if (existing) {
        writeStore("[General]\nServidor=viejo\n");
        QFile::setPermissions(settingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    if (byWindow) {
        RecordingPrompts prompts;
        TfrmEnviar window(prompts);
        fill(window, {"ftp.ejemplo.es", "ana", "secreto", "/"});
        QSignalSpy saved(&window, &TfrmEnviar::settingsSaved);
        window.SaveSettings();
        QVERIFY(saved.wait());
    } else {
        PublishSettings{"ftp.ejemplo.es", "ana", "secreto", "/"}.saveAllButPassword();
        PublishSettings::savePassword("secreto");
    }
    QCOMPARE(storeMode(), 0600);
    QCOMPARE(PublishSettings::load().password, QStringLiteral("secreto"));
#endif
}

void TestPublishSettings::readOnceAtCreation()
{
    PublishSettings{"antes", "ana", "secreto", "/"}.saveAllButPassword();
    PublishSettings::savePassword("secreto");
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    PublishSettings{"despues", "ana", "secreto", "/"}.saveAllButPassword();
    PublishSettings::savePassword("secreto");
    window.show();
    window.close();
    window.show();
    QCOMPARE(boxes(window).first(), QStringLiteral("antes"));
}

void TestPublishSettings::savesInTheBackground_data()
{
    QTest::addColumn<int>("saves");
    QTest::addColumn<bool>("windowKept"); // else destroyed right after the last save

    QTest::newRow("one save, window destroyed at once") << 1 << false;
    QTest::newRow("two saves, window destroyed at once") << 2 << false;
    QTest::newRow("twenty saves, window destroyed at once") << 20 << false;
    QTest::newRow("twenty saves, window kept") << 20 << true;
}

void TestPublishSettings::savesInTheBackground()
{
    QFETCH(int, saves);
    QFETCH(bool, windowKept);
    const auto texts = [](int save) {
        const QString n = QString::number(save);
        return QStringList{"ftp" + n + ".ejemplo.es", "ana" + n, "secreto" + n, "/sitio" + n};
    };

    RecordingPrompts prompts;
    std::optional<TfrmEnviar> window(std::in_place, prompts);
    QSignalSpy saved(&*window, &TfrmEnviar::settingsSaved);
    for (int save = 1; save <= saves; ++save) {
        fill(*window, texts(save));
        window->SaveSettings();
    }
    // What is typed after the last save is never stored: each save took its
    // own copy of the texts.
    fill(*window, {"tecleado", "tecleado", "tecleado", "tecleado"});
    if (windowKept) {
        while (saved.count() < saves)
            QVERIFY(saved.wait());
        QCOMPARE(saved.count(), saves);
    } else {
        window.reset();
    }

    const PublishSettings stored = PublishSettings::load();
    QCOMPARE(QStringList({stored.server, stored.user, stored.password, stored.folder}),
             texts(saves));
#ifdef Q_OS_UNIX
    QCOMPARE(storeMode(), 0600);
#endif
    QVERIFY(prompts.calls.isEmpty());
}

void TestPublishSettings::publishingThenQuitting()
{
    // Nothing listens on this port: the run would fail, but the program ends
    // before it even gets the refusal.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString server = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();

    RecordingPrompts prompts;
    {
        TfrmEnviar window(prompts);
        window.setUpload(m_config.path(), {QStringLiteral("pagina.htm")});
        window.show();
        fill(window, {" " + server + " ", " ana", "secreto\t", " /public_html "});
        window.findChild<QPushButton *>(QStringLiteral("btnPublica"))->click();
    }
    RecordingPrompts nextPrompts;
    TfrmEnviar nextStart(nextPrompts);
    QCOMPARE(boxes(nextStart), QStringList({server, "ana", "secreto", "/public_html"}));
    QVERIFY(prompts.calls.isEmpty());
}

void TestPublishSettings::failedWritesChangeNothing_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::newRow("a disk with 4 KiB left") << "mount";
    QTest::newRow("links leading nowhere") << "links";
    QTest::newRow("a folder where nothing can be renamed") << "chattr";
}

// The page, the saved work and the settings: a write that fails leaves the
// earlier file byte for byte, follows no link and leaves the password in no
// file that others may read, not even while it is being written.
void TestPublishSettings::failedWritesChangeNothing()
{
    QFETCH(QString, trouble);
    const QString folder = m_config.path();
    const QStringList names{"index.htm", SavedWork::fileName(), "BrenzoFTP.conf"};
    const QByteArray earlier = "[General]\nPassword=secreto\nx=" + QByteArray(5000, 'o') + '\n';
    if (trouble == "mount" &&
        QProcess::execute("mount", {"-ttmpfs", "-osize=64k", "tmpfs", folder}))
        QSKIP("No disk of its own can be mounted here: that needs the super-user.");
    const auto cleanUp = qScopeGuard([&] {
        trouble == "mount" ? QProcess::execute("umount", {"-l", folder})
                           : QProcess::execute("chattr", {"-a", folder});
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    });
    for (const QString &name : names)
        trouble == "links" ? void(QFile::link(folder + "/fuera-" + name, folder + '/' + name))
                           : writeStore(earlier, folder + '/' + name);
    if (trouble == "mount")
        writeStore(QByteArray(QStorageInfo(folder).bytesAvailable() - 4096, 'r'),
                   folder + "/lleno");
    if (trouble == "chattr" && QProcess::execute("chattr", {"+a", folder}))
        QSKIP("The folder cannot be made append-only here: that needs the super-user.");
    PageSettings page;
    page.txtLibre = QString(8000, u'x'); // short: held in memory until the end
    QVERIFY(!WritePage(page, schemeFor(page), folder + '/' + names[0]));
    QVERIFY(!SavedWork::write(folder, SavedWork::toJson(page, {}, true)));
    PublishSettings{"ftp.ejemplo.es", "ana", "clave-nueva", "/"}.saveAllButPassword();
    PublishSettings::savePassword("clave-nueva");
    for (const QString &name : names) {
        QFile file(folder + '/' + name);
        QVERIFY(trouble == "links"
                    ? !file.symLinkTarget().isEmpty() && !QFileInfo::exists(file.fileName())
                    : file.open(QIODevice::ReadOnly) && file.readAll() == earlier);
    }
    // Saved work in a link's place is set aside like a damaged file, not followed.
    QVERIFY(trouble != "links" ||
            (SavedWork::read(folder).state == SavedWork::Found::State::Unreadable &&
             SavedWork::setAside(folder) == "mi-pagina-no-leida.brenzo"));
    // No scratch copy stays behind where it can never be removed.
    QCOMPARE(QDir(folder).entryList({".BrenzoFTP-*"}, QDir::Dirs | QDir::Hidden), QStringList());
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        QVERIFY(!file.open(QIODevice::ReadOnly) || !file.readAll().contains("clave-nueva") ||
                !(file.permissions() & (QFile::ReadGroup | QFile::ReadOther)));
    }
}

QTEST_MAIN(TestPublishSettings)
#include "tst_publishsettings.moc"
