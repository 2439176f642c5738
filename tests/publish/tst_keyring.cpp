// SPDX-License-Identifier: GPL-3.0-or-later
// The password in a real GNOME Keyring, started here on a private session
// bus: kept there and not in the settings file, moved there out of the file,
// never put in the file when the keyring is locked or never answers, and kept
// in the file when there is no keyring on the bus.

#include "publish/KeyringPasswordStore.h"
#include "publish/PublishSettings.h"
#include "publish/TfrmEnviar.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// Owns the Secret Service's name and answers nothing.
class SilentService : public QDBusVirtualObject {
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &, const QDBusConnection &) override { return true; }
};

class TestKeyring : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void roundTrip();
    void movesOutOfTheFile();
    // Run on its own, with no keyring daemon on the bus.
    void fallbackWhenNoDaemonAnswers();
    // Last: with the keyring locked, then on its own with one that never answers.
    void keptNowhereWhenTheKeyringFails();

private:
    bool startBus();
    bool startKeyring();
    static void stop(QProcess &process);
    // Publishes nowhere, which saves the settings; returns once saved.
    void save(const QString &password);
    void save(TfrmEnviar &window, const QString &password);
    // The password box of a new window once its store has answered.
    QString passwordShown();
    QSettings store() const
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QStringLiteral("BrenzoFTP"));
    }

    QTemporaryDir m_home;
    QProcess m_bus;
    QProcess m_keyring;
    QString m_address;
    SilentService m_silent;
};

void TestKeyring::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon")).isEmpty())
        QSKIP("dbus-daemon or gnome-keyring-daemon is missing (install dbus-daemon "
              "gnome-keyring)");
    QVERIFY(startBus());
    // Before anything asks for a keyring: the bus is read once per process.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLocal8Bit());
    if (!QCoreApplication::arguments().contains(QStringLiteral("fallbackWhenNoDaemonAnswers")))
        QVERIFY(startKeyring());
}

bool TestKeyring::startBus()
{
    // A bus of our own that starts no services: nothing answers on it but
    // what the test starts.
    const QString socketFolder = m_home.filePath(QStringLiteral("bus"));
    QDir().mkpath(socketFolder);
    QFile config(m_home.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    config.write(QStringLiteral(
                     "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                     "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n")
                     .arg(socketFolder)
                     .toUtf8());
    config.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                 QStringLiteral("--print-address=1")});
    if (!QTest::qWaitFor([this] { return m_bus.canReadLine(); }, 20000))
        return false;
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    return !m_address.isEmpty();
}

bool TestKeyring::startKeyring()
{
    QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("watch"));
    QDBusServiceWatcher watcher(QStringLiteral("org.freedesktop.secrets"), bus,
                                QDBusServiceWatcher::WatchForRegistration);
    QSignalSpy registered(&watcher, &QDBusServiceWatcher::serviceRegistered);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    environment.insert(QStringLiteral("HOME"), m_home.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    const QString runtime = m_home.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_keyring.setProcessEnvironment(environment);
    m_keyring.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // --unlock makes the login keyring with the password read from input.
    m_keyring.start(QStringLiteral("gnome-keyring-daemon"),
                    {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                     QStringLiteral("--components=secrets")});
    m_keyring.write("clave-del-llavero");
    m_keyring.closeWriteChannel();
    return bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.secrets")) ||
           registered.wait(20000);
}

void TestKeyring::stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000))
        process.kill();
}

void TestKeyring::cleanupTestCase()
{
    stop(m_keyring);
    stop(m_bus);
}

void TestKeyring::init()
{
    QFile::remove(store().fileName());
}

void TestKeyring::save(const QString &password)
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    save(window, password);
}

void TestKeyring::save(TfrmEnviar &window, const QString &password)
{
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("ftp.ejemplo.es"));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->setText(QStringLiteral("ana"));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(password);
    QSignalSpy saved(&window, &TfrmEnviar::settingsSaved);
    window.SaveSettings();
    QVERIFY(saved.wait(20000));
}

QString TestKeyring::passwordShown()
{
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    QSignalSpy read(&window, &TfrmEnviar::passwordRead);
    window.show();
    if (read.isEmpty() && !read.wait(20000))
        return QStringLiteral("(no answer)");
    return window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->text();
}

void TestKeyring::roundTrip()
{
    save(QStringLiteral("secreto"));
    QCOMPARE(store().value(QStringLiteral("Servidor")).toString(),
             QStringLiteral("ftp.ejemplo.es"));
    QVERIFY(!store().contains(QStringLiteral("Password")));
    QCOMPARE(passwordShown(), QStringLiteral("secreto"));

    save(QStringLiteral("otro secreto"));
    QCOMPARE(passwordShown(), QStringLiteral("otro secreto"));
    QFile file(store().fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains("secreto"));
}

void TestKeyring::movesOutOfTheFile()
{
    // As an earlier version left it: the password in the file.
    PublishSettings{"ftp.ejemplo.es", "ana", "de antes", "/"}.saveAllButPassword();
    PublishSettings::savePassword("de antes");
    QCOMPARE(passwordShown(), QStringLiteral("de antes"));
    save(QStringLiteral("de antes"));
    QVERIFY(!store().contains(QStringLiteral("Password")));
    QCOMPARE(store().value(QStringLiteral("Usuario")).toString(), QStringLiteral("ana"));
    QCOMPARE(passwordShown(), QStringLiteral("de antes"));
}

void TestKeyring::fallbackWhenNoDaemonAnswers()
{
    if (m_keyring.state() != QProcess::NotRunning)
        QSKIP("Runs on its own, without the keyring daemon.");
    save(QStringLiteral("secreto"));
    QCOMPARE(store().value(QStringLiteral("Password")).toString(), QStringLiteral("secreto"));
#ifdef Q_OS_UNIX
    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(store().fileName()).constData(), &status), 0);
    QCOMPARE(int(status.st_mode & 07777), 0600);
#endif
    QCOMPARE(passwordShown(), QStringLiteral("secreto"));
}

void TestKeyring::keptNowhereWhenTheKeyringFails()
{
    if (m_keyring.state() == QProcess::Running) { // a locked keyring
        QCOMPARE(QProcess::execute(QStringLiteral("dbus-send"),
                                   {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                    QStringLiteral("--dest=org.freedesktop.secrets"),
                                    QStringLiteral("/org/freedesktop/secrets"),
                                    QStringLiteral("org.freedesktop.Secret.Service.Lock"),
                                    QStringLiteral("array:objpath:/org/freedesktop/secrets/"
                                                   "collection/login")}),
                 0);
    } else { // a keyring that never answers
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, QStringLiteral("silent"));
        QVERIFY(
            bus.registerVirtualObject(QStringLiteral("/"), &m_silent, QDBusConnection::SubPath));
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.secrets")));
    }
    KeyringPasswordStore::setWriteTimeLimit(std::chrono::milliseconds(500));
    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    save(window, QStringLiteral("secreto"));
    save(window, QStringLiteral("secreto")); // tried again, told once
    QCOMPARE(prompts.calls.size(), 1);
    QCOMPARE(prompts.calls[0].title + prompts.calls[0].text,
             QStringLiteral("BrenzoNo se pudo guardar la contraseña en el llavero del sistema. Se "
                            "volverá a intentar la próxima vez que publique."));
    QCOMPARE(prompts.calls[0].icon, PromptIcon::Warning);
    QVERIFY(!store().contains(QStringLiteral("Password")));
}

QTEST_MAIN(TestKeyring)
#include "tst_keyring.moc"
