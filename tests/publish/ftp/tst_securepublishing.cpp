// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing over TLS to real servers started here on 127.0.0.1, each with a
// self-signed certificate made for the test: the files arrive byte for byte,
// the certificate is asked about, remembered, and asked about again when it
// changes; a server without TLS gets nothing after AUTH TLS.

#include "publish/PublishSettings.h"
#include "publish/TfrmEnviar.h"
#include "tests/publish/PublishTexts.h"
#include "tests/publish/ftp/ScriptedFtpServer.h"
#include "tests/publish/ftp/VsftpdServer.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");

// A running pyftpdlib that speaks only FTP over TLS, with the given
// certificate, serving `root`, renaming and slowed down as real_ftp_server.py says.
class TlsFtpServer {
public:
    bool start(const QString &root, const QString &certificate, const QString &renames = QString(),
               int readLimit = 0)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine()) {
                const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                if (line.startsWith(QLatin1String("PORT ")))
                    m_port = quint16(line.mid(5).toUInt());
                else if (line.startsWith(QLatin1String("CMD ")))
                    commands.append(line.mid(4));
            }
        });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BRENZO_FTP_TLS_CERT"), certificate);
        environment.insert(QStringLiteral("BRENZO_FTP_RENAMES"), renames);
        m_process.setProcessEnvironment(environment);
        m_process.start(Python, {QStringLiteral(BRENZO_REAL_FTP_SERVER), root,
                                 QStringLiteral("ana"), QStringLiteral("secreto"),
                                 QStringLiteral("127.0.0.1"), QString::number(readLimit)});
        return QTest::qWaitFor([this] { return m_port != 0; }, 30000);
    }
    ~TlsFtpServer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    quint16 port() const { return m_port; }
    QStringList commands;

private:
    QProcess m_process;
    quint16 m_port = 0;
};

bool runProcess(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class TestSecurePublishing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void uploadsOverTls();
    void uploadsOverTlsToVsftpd();
    void cancelOnVsftpd();
    void replacingFiles_data();
    void replacingFiles();
    void certificateAnswers_data();
    void certificateAnswers();
    void changedCertificateIsAskedAbout();
    void serverWithoutTls_data();
    void serverWithoutTls();

private:
    // A self-signed certificate and its key in one PEM file.
    QString makeCertificate(const QString &name);
    static QStringList vsftpdOverTls(const QString &certificate);
    // Publishes the files with FTPS ticked; answers the certificate question
    // with `trust`. Returns the prompts seen.
    // `started` runs once the run is under way.
    RecordingPrompts publish(quint16 port, const QList<bool> &answers,
                             const std::function<void(TfrmEnviar &)> &started = {},
                             const QString &user = QStringLiteral("ana"),
                             const QString &password = QStringLiteral("secreto"),
                             const QString &folder = QStringLiteral("/public_html"));
    // The same as the given user, into the folder the user logs in to.
    RecordingPrompts publishAs(quint16 port, const QString &user, const QString &password,
                               const QList<bool> &answers);
    void compareUploads(const QString &remoteFolder);

    QTemporaryDir m_config;
    QTemporaryDir m_work;
    QStringList m_files;
};

void TestSecurePublishing::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        QSKIP("openssl is missing (install openssl)");
    if (!runProcess(Python, {QStringLiteral("-c"), QStringLiteral("import pyftpdlib, OpenSSL")}))
        QSKIP("pyftpdlib or pyOpenSSL is missing (install python3-pyftpdlib python3-openssl)");

    // An empty file, a page, and a picture of several TLS records.
    const QDir startup(m_work.path());
    QVERIFY(startup.mkpath(QStringLiteral("startup")));
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("pagina.htm"), "<HTML>\r\n<BODY>Pe\xf1"
                                       "a</BODY>\r\n</HTML>\r\n"},
        {QStringLiteral("vacio.gif"), QByteArray()},
        {QStringLiteral("foto.jpg"), QByteArray()}};
    for (const auto &[name, bytes] : files) {
        QFile file(startup.filePath(QStringLiteral("startup/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (name == QLatin1String("foto.jpg")) {
            QList<quint32> words(3 * 1024 * 1024 / 4 + 3);
            QRandomGenerator(7).fillRange(words.data(), words.size());
            file.write(reinterpret_cast<const char *>(words.constData()), words.size() * 4);
        } else {
            file.write(bytes);
        }
        m_files.append(name);
    }
}

void TestSecurePublishing::init()
{
    QFile::remove(
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrenzoFTP"))
            .fileName());
}

QStringList TestSecurePublishing::vsftpdOverTls(const QString &certificate)
{
    return {"ssl_enable=YES", "rsa_cert_file=" + certificate,
            "rsa_private_key_file=" + certificate, "force_local_logins_ssl=YES",
            "force_local_data_ssl=YES", "require_ssl_reuse=YES", "ssl_ciphers=HIGH"};
}

QString TestSecurePublishing::makeCertificate(const QString &name)
{
    const QString key = m_work.filePath(name + QStringLiteral(".key"));
    const QString certificate = m_work.filePath(name + QStringLiteral(".crt"));
    if (!runProcess(QStringLiteral("openssl"),
                    {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                     "-nodes", "-days", "2", "-subj", "/CN=localhost", "-keyout", key, "-out",
                     certificate}))
        return QString();
    const QString both = m_work.filePath(name + QStringLiteral(".pem"));
    QFile out(both);
    QFile in1(certificate), in2(key);
    if (!out.open(QIODevice::WriteOnly) || !in1.open(QIODevice::ReadOnly) ||
        !in2.open(QIODevice::ReadOnly))
        return QString();
    out.write(in1.readAll() + in2.readAll());
    return both;
}

RecordingPrompts TestSecurePublishing::publishAs(quint16 port, const QString &user,
                                                 const QString &password,
                                                 const QList<bool> &answers)
{
    return publish(
        port, answers, [&](TfrmEnviar &) {}, user, password, QString());
}

void TestSecurePublishing::compareUploads(const QString &remoteFolder)
{
    for (const QString &name : std::as_const(m_files)) {
        QFile local(m_work.filePath(QStringLiteral("startup/") + name));
        QFile remote(QDir(remoteFolder).filePath(name));
        QVERIFY(local.open(QIODevice::ReadOnly));
        QVERIFY2(remote.open(QIODevice::ReadOnly), qPrintable(name));
        QVERIFY2(local.readAll() == remote.readAll(), qPrintable(name));
    }
}

RecordingPrompts TestSecurePublishing::publish(quint16 port, const QList<bool> &answers,
                                               const std::function<void(TfrmEnviar &)> &started,
                                               const QString &user, const QString &password,
                                               const QString &folder)
{
    RecordingPrompts prompts;
    for (bool answer : answers)
        prompts.answers.enqueue(answer);
    TfrmEnviar window(prompts);
    window.setUpload(m_work.filePath(QStringLiteral("startup")), m_files);
    window.show();
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("127.0.0.1:%1").arg(port));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->setText(user);
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(password);
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))->setEditText(folder);
    window.findChild<QComboBox *>(QStringLiteral("cmbConexion"))->setCurrentIndex(1);
    QSignalSpy saved(&window, &TfrmEnviar::settingsSaved);
    auto *button = window.findChild<QPushButton *>(QStringLiteral("btnPublica"));
    button->click();
    if (started)
        started(window);
    if (!QTest::qWaitFor([&] { return button->isEnabled(); }, 60000))
        qWarning("the run did not end");
    if (saved.isEmpty())
        saved.wait();
    return prompts;
}

void TestSecurePublishing::uploadsOverTls()
{
    const QString certificate = makeCertificate(QStringLiteral("pyftpdlib"));
    QVERIFY(!certificate.isEmpty());
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("public_html")));
    TlsFtpServer server;
    QVERIFY(server.start(root.path(), certificate));

    // First time: the self-signed certificate is asked about and trusted.
    RecordingPrompts first = publish(server.port(), {true});
    QCOMPARE(first.ofKind(RecordingPrompts::Kind::Question).size(), 1);
    QCOMPARE(first.messageTexts(), QStringList{PublishTexts::Published});
    compareUploads(QDir(root.path()).filePath(QStringLiteral("public_html")));
    // Each file arrives whole under a temporary name, then takes its own.
    QStringList sent;
    for (const QString name : {"vacio.gif", "foto.jpg", "pagina.htm"})
        sent << "PASV"
             << "STOR ." + name + ".brenzo-tmp"
             << "RNFR ." + name + ".brenzo-tmp"
             << "RNTO " + name;
    QCOMPARE(server.commands, QStringList({"AUTH TLS", "USER ana", "PASS secreto", "TYPE I", "SYST",
                                           "PBSZ 0", "PROT P", "CWD /public_html"}) +
                                  sent);
    QCOMPARE(QDir(root.filePath("public_html")).entryList(QDir::Files | QDir::Hidden).size(), 3);

    // Second time: the remembered certificate is taken without a question.
    server.commands.clear();
    RecordingPrompts second = publish(server.port(), {});
    QVERIFY(second.ofKind(RecordingPrompts::Kind::Question).isEmpty());
    QCOMPARE(second.messageTexts(), QStringList{PublishTexts::Published});
    QCOMPARE(server.commands.size(), 20);
}

void TestSecurePublishing::uploadsOverTlsToVsftpd()
{
    // vsftpd insists that data connections resume the control connection's
    // TLS session, and resets a data connection closed with bytes unread.
    const QString certificate = makeCertificate(QStringLiteral("vsftpd"));
    QVERIFY(!certificate.isEmpty());
    VsftpdServer server(vsftpdOverTls(certificate));
    if (const QString why = server.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString user = QString::fromLatin1(VsftpdServer::User);
    const QString password = QString::fromLatin1(VsftpdServer::Password);

    RecordingPrompts first = publishAs(server.port(), user, password, {true});
    QCOMPARE(first.ofKind(RecordingPrompts::Kind::Question).size(), 1);
    QCOMPARE(first.messageTexts(), QStringList{PublishTexts::Published});
    compareUploads(server.root());
    RecordingPrompts second = publishAs(server.port(), user, password, {});
    QVERIFY(second.ofKind(RecordingPrompts::Kind::Question).isEmpty());
    QCOMPARE(second.messageTexts(), QStringList{PublishTexts::Published});
    // vsftpd's own log: every upload under a temporary name, then renamed.
    const QString log = server.log();
    QCOMPARE(log.count(QRegularExpression("OK UPLOAD: [^\\n]*brenzo-tmp")), 6);
    QCOMPARE(log.count(QRegularExpression("OK RENAME: [^\\n]*\"/\\.(.+)\\.brenzo-tmp /\\1\"")), 6);
}

// vsftpd's own log: after Cancelar in the middle of the picture, its
// temporary file is removed. What the system had already taken for sending
// may reach the server first, as a whole upload.
void TestSecurePublishing::cancelOnVsftpd()
{
    const QString certificate = makeCertificate(QStringLiteral("vsftpd-cancel"));
    VsftpdServer server(vsftpdOverTls(certificate) << "local_max_rate=1000000");
    if (const QString why = server.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    const QString temporary = QDir(server.root()).filePath(QStringLiteral(".foto.jpg.brenzo-tmp"));
    const QString user = QString::fromLatin1(VsftpdServer::User);
    const QString password = QString::fromLatin1(VsftpdServer::Password);
    const RecordingPrompts prompts = publish(
        server.port(), {true},
        [&](TfrmEnviar &window) {
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(temporary).size() > 0, 30000);
            window.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
            QTRY_VERIFY_WITH_TIMEOUT(server.log().contains(QRegularExpression(
                                         "OK DELETE: [^\\n]*/\\.foto\\.jpg\\.brenzo-tmp\"")),
                                     20000);
        },
        user, password, QString());
    qInfo().noquote() << server.log().split(u'\n').filter(QStringLiteral("foto.jpg")).join(u'\n');
    QCOMPARE(prompts.messageTexts().value(0), PublishTexts::Cancelled);
    QVERIFY(!QFileInfo::exists(temporary));
    QVERIFY(!QFileInfo::exists(QDir(server.root()).filePath(QStringLiteral("foto.jpg"))));
}

void TestSecurePublishing::replacingFiles_data()
{
    QTest::addColumn<QString>("renames");      // as real_ftp_server.py takes it
    QTest::addColumn<bool>("cancel");          // during the picture
    QTest::addColumn<QStringList>("commands"); // for the first file, held already
    QTest::newRow("refuses to rename over a file")
        << "keep-existing" << false
        << QStringList({"PASV", "STOR .vacio.gif.brenzo-tmp", "RNFR .vacio.gif.brenzo-tmp",
                        "RNTO vacio.gif", "DELE .vacio.gif.brenzo-old", "RNFR vacio.gif",
                        "RNTO .vacio.gif.brenzo-old", "RNFR .vacio.gif.brenzo-tmp",
                        "RNTO vacio.gif", "DELE .vacio.gif.brenzo-old", "PASV"});
    // Found out on the first file, which goes again in place, as the others.
    QTest::newRow("knows no RNFR")
        << "none" << false
        << QStringList({"PASV", "STOR .vacio.gif.brenzo-tmp", "RNFR .vacio.gif.brenzo-tmp",
                        "DELE .vacio.gif.brenzo-tmp", "PASV", "STOR vacio.gif", "PASV",
                        "STOR foto.jpg", "PASV", "STOR pagina.htm"});
    QTest::newRow("takes no hidden name")
        << "no-hidden" << false
        << QStringList({"PASV", "STOR .vacio.gif.brenzo-tmp", "DELE .vacio.gif.brenzo-tmp", "PASV",
                        "STOR vacio.gif", "PASV", "STOR foto.jpg", "PASV", "STOR pagina.htm"});
    QTest::newRow("Cancelar") << QString() << true << QStringList();
}

void TestSecurePublishing::replacingFiles()
{
    QFETCH(QString, renames);
    QFETCH(bool, cancel);
    QFETCH(QStringList, commands);
    QTemporaryDir root;
    const QDir folder(root.filePath(QStringLiteral("public_html")));
    QVERIFY(folder.mkpath("."));
    for (const QString &name : std::as_const(m_files)) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("antes") == 5);
    }
    TlsFtpServer server;
    // Slowed down, the picture takes a dozen seconds: Cancelar comes well within.
    QVERIFY(
        server.start(root.path(), makeCertificate("renames"), renames, cancel ? 256 * 1024 : 0));
    const QString temporary = folder.filePath(QStringLiteral(".foto.jpg.brenzo-tmp"));
    RecordingPrompts prompts = publish(server.port(), {true}, [&](TfrmEnviar &window) {
        if (!cancel)
            return;
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(temporary).size() > 0, 30000);
        window.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
        // The window closes; the server removes what it holds of the picture.
        QTRY_VERIFY(!QFileInfo::exists(temporary));
        QTRY_VERIFY(server.commands.contains("DELE .foto.jpg.brenzo-tmp"));
    });
    QCOMPARE(prompts.messageTexts().value(0),
             cancel ? PublishTexts::Cancelled : PublishTexts::Published);
    QCOMPARE(server.commands.mid(server.commands.indexOf("PASV"), commands.size()), commands);
    if (!cancel)
        compareUploads(folder.path());
    // Cut off during the picture: the old picture and the old page, whole.
    for (const char *name : {"foto.jpg", "pagina.htm"}) {
        QFile remote(folder.filePath(name));
        QVERIFY(!cancel || (remote.open(QIODevice::ReadOnly) && remote.readAll() == "antes"));
    }
}

void TestSecurePublishing::certificateAnswers_data()
{
    QTest::addColumn<bool>("trust");
    QTest::newRow("Sí") << true;
    QTest::newRow("No") << false;
}

void TestSecurePublishing::certificateAnswers()
{
    QFETCH(bool, trust);
    const QString certificate = makeCertificate(QStringLiteral("answers"));
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("public_html")));
    TlsFtpServer server;
    QVERIFY(server.start(root.path(), certificate));

    RecordingPrompts prompts = publish(server.port(), {trust});
    const auto questions = prompts.ofKind(RecordingPrompts::Kind::Question);
    QCOMPARE(questions.size(), 1);
    QCOMPARE(questions[0].title, QStringLiteral("Brenzo"));
    QCOMPARE(questions[0].defaultAnswer, DefaultAnswer::No);
    const QString text = questions[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("No puede comprobarse la identidad del servidor "
                                            "127.0.0.1.")),
             qPrintable(text));
    // Self-signed, and made for another name than the one typed.
    QVERIFY(text.contains(QStringLiteral("firmado por el propio servidor")));
    QVERIFY(text.contains(QStringLiteral("otro nombre de servidor")));
    const QString fingerprint = QString::fromLatin1(QSslCertificate::fromPath(certificate)
                                                        .value(0)
                                                        .digest(QCryptographicHash::Sha256)
                                                        .toHex(':')
                                                        .toUpper());
    QVERIFY(text.contains(fingerprint));
    QVERIFY(
        text.endsWith(QStringLiteral("¿Desea confiar en este certificado para este servidor?")));

    if (trust) {
        QCOMPARE(prompts.messageTexts(), QStringList{PublishTexts::Published});
        QCOMPARE(PublishSettings::trustedCertificates().value(
                     QStringLiteral("127.0.0.1:%1").arg(server.port())),
                 fingerprint);
    } else {
        // The connection boxes; nothing of the user travels.
        QCOMPARE(prompts.messageTexts(),
                 QStringList({PublishTexts::CannotConnect, PublishTexts::CannotLogIn}));
        QCOMPARE(server.commands, QStringList{"AUTH TLS"});
        QVERIFY(PublishSettings::trustedCertificates().isEmpty());
    }
}

void TestSecurePublishing::changedCertificateIsAskedAbout()
{
    const QString before = makeCertificate(QStringLiteral("before"));
    const QString after = makeCertificate(QStringLiteral("after"));
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkdir(QStringLiteral("public_html")));
    QString trusted;
    {
        TlsFtpServer server;
        QVERIFY(server.start(root.path(), before));
        QCOMPARE(publish(server.port(), {true}).messageTexts(),
                 QStringList{PublishTexts::Published});
        trusted = PublishSettings::trustedCertificates().value(
            QStringLiteral("127.0.0.1:%1").arg(server.port()));
    }
    TlsFtpServer server;
    QVERIFY(server.start(root.path(), after));
    // Certificates are trusted per port, and the server is back on another.
    PublishSettings::saveTrustedCertificate(QStringLiteral("127.0.0.1:%1").arg(server.port()),
                                            trusted);
    RecordingPrompts prompts = publish(server.port(), {false});
    const auto questions = prompts.ofKind(RecordingPrompts::Kind::Question);
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions[0].text.startsWith(
                 QStringLiteral("El certificado del servidor 127.0.0.1 ha cambiado")),
             qPrintable(questions[0].text));
    QCOMPARE(questions[0].defaultAnswer, DefaultAnswer::No);
    QCOMPARE(server.commands, QStringList{"AUTH TLS"});
}

void TestSecurePublishing::serverWithoutTls_data()
{
    QTest::addColumn<QByteArray>("authReply");
    // After a 234: "plain" (FTP where TLS belongs), "close", "cancel" (the
    // server stays silent and the user presses Cancelar), or "more" (plain
    // text came with the 234, to be read as the first protected reply).
    QTest::addColumn<QString>("then");
    QTest::addColumn<QStringList>("messages");

    const QString refused = QStringLiteral("El servidor no admite conexiones seguras (FTPS).");
    const QStringList cannot = {PublishTexts::CannotConnect, PublishTexts::CannotLogIn};
    QTest::newRow("AUTH unknown") << QByteArray("502 Command not implemented") << QString()
                                  << QStringList{refused};
    QTest::newRow("AUTH refused") << QByteArray("534 Policy requires plain FTP") << QString()
                                  << QStringList{refused};
    QTest::newRow("another positive reply")
        << QByteArray("334 ADAT required") << QString() << QStringList{refused};
    QTest::newRow("FTP where TLS belongs") << QByteArray("234 Proceed") << "plain" << cannot;
    QTest::newRow("closed during the handshake") << QByteArray("234 Proceed") << "close" << cannot;
    QTest::newRow("Cancelar during the handshake")
        << QByteArray("234 Proceed") << "cancel" << (QStringList{PublishTexts::Cancelled} + cannot);
    QTest::newRow("reply after the 234")
        << QByteArray("234 Proceed\r\n230 Hecho") << "more" << cannot;
    QTest::newRow("multi-line reply begun after the 234")
        << QByteArray("234 Proceed\r\n230-Hecho") << "more" << cannot;
}

void TestSecurePublishing::serverWithoutTls()
{
    QFETCH(QByteArray, authReply);
    QFETCH(QString, then);
    QFETCH(QStringList, messages);

    ScriptedFtpServer server;
    server.reply("AUTH", authReply);
    QVERIFY(server.listen());
    connect(&server, &ScriptedFtpServer::commandReceived, this, [&](const QByteArray &line) {
        if (line != "AUTH TLS")
            return;
        // After the 234, which goes out once this returns.
        QMetaObject::invokeMethod(
            &server,
            [&] {
                if (then == QLatin1String("plain"))
                    server.sendNow("220 Servidor de pruebas listo");
                else if (then == QLatin1String("close"))
                    server.closeNow();
            },
            Qt::QueuedConnection);
    });
    RecordingPrompts prompts = publish(server.port(), {true}, [&](TfrmEnviar &window) {
        if (then != QLatin1String("cancel"))
            return;
        // The server has said 234 and waits: the client is in its handshake.
        QVERIFY(QTest::qWaitFor([&] { return !server.commands.isEmpty(); }, 10000));
        window.findChild<QPushButton *>(QStringLiteral("BitBtn2"))->click();
    });
    QCOMPARE(prompts.messageTexts(), messages);
    QVERIFY(prompts.ofKind(RecordingPrompts::Kind::Question).isEmpty());
    if (messages.size() == 1) {
        const RecordingPrompts::Call box = prompts.calls[0];
        QCOMPARE(box.title, QStringLiteral("Brenzo"));
        QCOMPARE(box.icon, PromptIcon::Critical);
        QCOMPARE(box.details, QString::fromLatin1(authReply));
    } else if (then == QLatin1String("more")) {
        QCOMPARE(
            prompts.calls[0].details,
            QStringLiteral("El servidor envió datos sin cifrar tras aceptar la conexión segura"));
    } else if (then != QLatin1String("cancel")) {
        QVERIFY(!prompts.calls[0].details.isEmpty());
    }
    // Never a plain login after asking for TLS; after a refusal, nothing.
    QCOMPARE(server.commands, QList<QByteArray>{"AUTH TLS"});
}

QTEST_MAIN(TestSecurePublishing)
#include "tst_securepublishing.moc"
