// The remembered settings: read once when the window is created, written
// trimmed by the run only, and kept where only their owner can read them.

#include "PublishSettings.h"
#include "RecordingPrompts.h"
#include "TfrmEnviar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

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

private:
    QString settingsFile() const { return m_config.filePath(QStringLiteral("BrenzoFTP.conf")); }
    QStringList boxes(TfrmEnviar &window) const;
    void writeStore(const QByteArray &contents);

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
    return {window.findChild<QLineEdit *>(QStringLiteral("txtServer"))->text(),
            window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->text(),
            window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->text(),
            window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->currentText()};
}

void TestPublishSettings::writeStore(const QByteArray &contents)
{
    QFile file(settingsFile());
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

    QTest::newRow("all four") << QByteArray("[General]\nServidor=ftp.ejemplo.es\nUsuario=ana\n"
                                            "Password=secreto\nDirectorio=/public_html\n")
                              << QStringList{"ftp.ejemplo.es", "ana", "secreto", "/public_html"};
    QTest::newRow("folder not in the list")
        << QByteArray("[General]\nDirectorio=/site\n") << QStringList{"", "", "", "/site"};
    QTest::newRow("a value that is not a text")
        << QByteArray("[General]\nServidor=uno, dos\nUsuario=ana\n")
        << QStringList{"", "ana", "", ""};
}

void TestPublishSettings::loading()
{
    QFETCH(QByteArray, store);
    QFETCH(QStringList, shown);
    writeStore(store);
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QCOMPARE(boxes(window), shown);
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
    window.SaveSettings();

    RecordingPrompts nextPrompts;
    TfrmEnviar nextStart(nextPrompts);
    QCOMPARE(boxes(nextStart),
             QStringList({"ftp.ejemplo.es", "ana", "se creto", QStringLiteral("/sitio\u00a0")}));
}

void TestPublishSettings::ownerOnly_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("new store") << false;
    QTest::newRow("store readable by all") << true;
}

void TestPublishSettings::ownerOnly()
{
#ifndef Q_OS_UNIX
    QSKIP("The settings live in a file only on Unix systems.");
#else
    QFETCH(bool, existing);
    if (existing) {
        writeStore("[General]\nServidor=viejo\n");
        QFile::setPermissions(settingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    PublishSettings{"ftp.ejemplo.es", "ana", "secreto", "/"}.save();
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(settingsFile()).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0600));
    QCOMPARE(PublishSettings::load().password, QStringLiteral("secreto"));
#endif
}

void TestPublishSettings::readOnceAtCreation()
{
    PublishSettings{"antes", "ana", "secreto", "/"}.save();
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    PublishSettings{"despues", "ana", "secreto", "/"}.save();
    window.show();
    window.close();
    window.show();
    QCOMPARE(boxes(window).first(), QStringLiteral("antes"));
}

QTEST_MAIN(TestPublishSettings)
#include "tst_publishsettings.moc"
