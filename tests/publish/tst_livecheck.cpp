// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the published page against a real lighttpd on loopback: each
// row lays out what the server shows and expects what the check finds.

#include "publish/LiveCheck.h"
#include "publish/LiveCheckMessages.h"
#include "publish/TfrmEnviar.h"
#include "tests/publish/LighttpdServer.h"
#include "tests/publish/ftp/PyftpdlibServer.h"
#include "tests/publish/StopServer.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <QTcpServer>
#include <QtTest>

using Verdict = LiveCheck::Verdict;

// A certificate for 127.0.0.1 that ran out yesterday, and its key, in the
// folder given.
static const char ExpiredCertificate[] = R"(
import datetime, ipaddress, sys
from cryptography import x509
from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.x509.oid import NameOID
key = ec.generate_private_key(ec.SECP256R1())
name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, "a")])
now = datetime.datetime.utcnow()
certificate = (x509.CertificateBuilder().subject_name(name).issuer_name(name)
    .public_key(key.public_key()).serial_number(1)
    .not_valid_before(now - datetime.timedelta(days=10))
    .not_valid_after(now - datetime.timedelta(days=1))
    .add_extension(x509.SubjectAlternativeName(
        [x509.IPAddress(ipaddress.ip_address("127.0.0.1"))]), critical=False)
    .sign(key, hashes.SHA256()))
open(sys.argv[1] + "/crt", "wb").write(certificate.public_bytes(serialization.Encoding.PEM))
open(sys.argv[1] + "/key", "wb").write(key.private_bytes(serialization.Encoding.PEM,
    serialization.PrivateFormat.PKCS8, serialization.NoEncryption()))
)";

class TestLiveCheck : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); }
    void check_data();
    void check();
    void throughTheWindow_data();
    void throughTheWindow();
};

void TestLiveCheck::check_data()
{
    // served: paths under the server's folder, each a copy of the sent file
    // of that name, or "path=content". altName: the certificate's name for
    // HTTPS, "closed" for a port nobody listens on, empty for plain HTTP.
    QTest::addColumn<QStringList>("served");
    QTest::addColumn<QString>("altName");
    QTest::addColumn<QString>("typedPath");
    QTest::addColumn<Verdict>("verdict");

    const QStringList both = {"index.htm", "foto.jpg"};
    const QStringList placeholder = QStringList{"index.html=<html>Hosting</html>"} + both;
    QTest::newRow("all fine") << both << ""
                              << "" << Verdict::Live;
    QTest::newRow("wrong folder") << QStringList{"www/index.htm", "www/foto.jpg"} << ""
                                  << "" << Verdict::PageNotFound;
    QTest::newRow("placeholder in front") << placeholder << ""
                                          << "" << Verdict::OtherPageAtAddress;
    QTest::newRow("address names the page") << placeholder << ""
                                            << "/index.htm" << Verdict::Live;
    QTest::newRow("old copy") << QStringList{"index.htm=<HTML>antes</HTML>", "foto.jpg"} << ""
                              << "" << Verdict::OldCopy;
    QTest::newRow("old copy in a cache")
        << QStringList{"index.htm=<HTML>antes</HTML>", "foto.jpg"} << "cache"
        << "" << Verdict::OldCopy;
    QTest::newRow("missing picture") << QStringList{"index.htm"} << ""
                                     << "" << Verdict::FilesMissing;
    QTest::newRow("picture cut short") << QStringList{"index.htm", "foto.jpg=\xd8\xd8"} << ""
                                       << "/" << Verdict::FilesMissing;
    QTest::newRow("no server") << both << "closed"
                               << "" << Verdict::Unreachable;
    QTest::newRow("https") << both << "IP:127.0.0.1"
                           << "" << Verdict::Live;
    QTest::newRow("https, wrong name") << both << "DNS:otro.example"
                                       << "" << Verdict::BadCertificate;
    QTest::newRow("https, expired") << both << "expired:127.0.0.1"
                                    << "" << Verdict::BadCertificate;
}

void TestLiveCheck::check()
{
    QFETCH(QStringList, served);
    QFETCH(QString, altName);
    QFETCH(QString, typedPath);
    QFETCH(Verdict, verdict);
    QTemporaryDir work;
    const QString startup = work.filePath("startup");
    QVERIFY(writeFile(startup + "/index.htm", "<HTML>Pe\xf1"
                                              "a</HTML>\r\n"));
    QVERIFY(writeFile(startup + "/foto.jpg", QByteArray(200000, '\xd8')));

    QProcess lighttpd;
    const auto stop = qScopeGuard([&] { stopServer(lighttpd); });
    quint16 port = 0;
    LiveCheck check;
    check.setRetryDelay(50);
    const bool https = altName.contains(u':');
    if (https) {
        // A certificate of its own authority, handed in as the only one
        // trusted; openssl dates none in the past, Debian's cryptography does.
        const bool expired = altName.startsWith(u"expired");
        if (expired ? QProcess::execute("/usr/bin/python3", {"-c", ExpiredCertificate, work.path()})
                    : QProcess::execute("openssl",
                                        {"req", "-x509", "-newkey", "ec", "-pkeyopt",
                                         "ec_paramgen_curve:prime256v1", "-nodes", "-subj", "/CN=a",
                                         "-addext", "subjectAltName=" + altName, "-keyout",
                                         work.filePath("key"), "-out", work.filePath("crt")}))
            QSKIP("no certificate could be made (install openssl python3-cryptography)");
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(work.filePath("crt")));
        check.setTlsConfiguration(tls);
    }
    if (altName == QLatin1String("closed")) {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    } else if (const QString why = startLighttpd(lighttpd, work.path(), https, port);
               !why.isEmpty()) {
        QSKIP(qPrintable(why));
    }
    for (const QString &entry : served) {
        const QString path = entry.section(u'=', 0, 0);
        QFile sent(startup + "/" + QFileInfo(path).fileName());
        QVERIFY(entry.contains(u'=') || sent.open(QIODevice::ReadOnly));
        QVERIFY(writeFile(work.filePath("root/" + path), entry.contains(u'=')
                                                             ? entry.section(u'=', 1).toLatin1()
                                                             : sent.readAll()));
    }

    // A cache in front that kept the old page, which then gave way to the
    // new one on the server.
    QProcess cache;
    const auto stopCache = qScopeGuard([&] { stopServer(cache); });
    if (altName == QLatin1String("cache")) {
        cache.start("/usr/bin/python3", {BRENZO_CACHING_PROXY, QString::number(port)});
        QVERIFY(cache.waitForReadyRead(10000));
        port = cache.readLine().mid(5).trimmed().toUShort();
        const QString page = QStringLiteral("http://127.0.0.1:%1/index.htm").arg(port);
        QCOMPARE(QProcess::execute("curl", {"-sf", "-o", "/dev/null", page}), 0);
        QVERIFY(QFile::remove(work.filePath("root/index.htm")) &&
                QFile::copy(startup + "/index.htm", work.filePath("root/index.htm")));
    }

    // Typed without a scheme, the address means HTTPS.
    QSignalSpy finished(&check, &LiveCheck::finished);
    check.start((https ? "" : "http://") + QStringLiteral("127.0.0.1:%1").arg(port) + typedPath,
                startup, {"index.htm", "foto.jpg"});
    QVERIFY(finished.wait(30000));
    const auto report = finished.at(0).at(0).value<LiveCheck::Report>();
    QVERIFY2(report.verdict == verdict, qPrintable(LiveCheckMessages::details(report)));
    QCOMPARE(report.missing,
             verdict == Verdict::FilesMissing ? QStringList{"foto.jpg"} : QStringList());
    if (verdict == Verdict::Unreachable)
        QCOMPARE(LiveCheckMessages::text(report), "No pudo comprobarse su página en " +
                                                      report.address.toString() +
                                                      ": el servidor rechazó la conexión.");
}

void TestLiveCheck::throughTheWindow_data()
{
    QTest::addColumn<bool>("seen"); // the web server shows the FTP server's folder
    QTest::newRow("seen") << true;
    QTest::newRow("another folder") << false;
}

// Published by FTP through the window with the page's address given: the
// status line says the page is there, or a box after the one that says it
// was published tells that it is not.
void TestLiveCheck::throughTheWindow()
{
    QFETCH(bool, seen);
    PyftpdlibServer ftp;
    if (const QString why = ftp.start(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QTemporaryDir web;
    QVERIFY(!seen || QFile::link(ftp.root(), web.filePath("root")));
    QProcess lighttpd;
    const auto stop = qScopeGuard([&] { stopServer(lighttpd); });
    quint16 port = 0;
    if (const QString why = startLighttpd(lighttpd, web.path(), false, port); !why.isEmpty())
        QSKIP(qPrintable(why));
    QTemporaryDir startup;
    QVERIFY(writeFile(startup.filePath("index.htm"), "<HTML>hola</HTML>\r\n"));
    QVERIFY(writeFile(startup.filePath("foto.jpg"), QByteArray(5000, 'j')));

    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.setUpload(startup.path(), {"index.htm", "foto.jpg"});
    QStringList statuses;
    connect(&window, &TfrmEnviar::statusChanged, this,
            [&statuses](const QString &text) { statuses.append(text); });
    window.findChild<QLineEdit *>("txtServer")
        ->setText(QStringLiteral("127.0.0.1:%1").arg(ftp.port()));
    window.findChild<QLineEdit *>("txtUSer")->setText(PyftpdlibServer::User);
    window.findChild<QLineEdit *>("txtPassword")->setText(PyftpdlibServer::Password);
    const QString address = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    window.findChild<QLineEdit *>("txtDireccion")->setText(address);
    window.show();
    auto *publish = window.findChild<QPushButton *>("btnPublica");
    publish->click();
    QVERIFY(QTest::qWaitFor([&] { return publish->isEnabled(); }, 60000));

    QVERIFY(statuses.contains("Comprobando la página publicada ..."));
    const QString published = "¡Enhorabuena! Su página ha sido publicada correctamente";
    if (seen) {
        QCOMPARE(prompts.messageTexts(), QStringList{published});
        QVERIFY(statuses.contains("Su página ya puede verse en " + address));
        return;
    }
    QCOMPARE(prompts.messageTexts(),
             QStringList({published, "Su página se ha publicado, pero no se ve en " + address +
                                         ". Puede que el directorio remoto no sea el que muestra "
                                         "su servidor web: pruebe con public_html, www o htdocs, "
                                         "o pregunte a su proveedor."}));
    QCOMPARE(prompts.calls.last().title, QStringLiteral("Brenzo"));
    QCOMPARE(prompts.calls.last().icon, PromptIcon::Warning);
}

QTEST_MAIN(TestLiveCheck)
#include "tst_livecheck.moc"
