// SPDX-License-Identifier: GPL-3.0-or-later
// The check of the published page against a real lighttpd on loopback, over
// HTTP and HTTPS: each row lays out what the server shows and expects what
// the check finds; then the words for each finding.

#include "publish/LiveCheck.h"
#include "publish/LiveCheckMessages.h"
#include "tests/publish/LighttpdServer.h"

#include <QTcpServer>
#include <QtTest>

namespace {

using Verdict = LiveCheck::Verdict;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool openssl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class TestLiveCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();
    void messages_data();
    void messages();

private:
    // A server certificate for `altName` from the test's own authority: the
    // PEM file with certificate and key, empty when openssl failed.
    QString certificate(const QString &altName);

    QTemporaryDir m_work;
    const QStringList m_files = {QStringLiteral("index.htm"), QStringLiteral("foto.jpg")};
};

void TestLiveCheck::initTestCase()
{
    QVERIFY(writeFile(m_work.filePath(QStringLiteral("startup/index.htm")), "<HTML><BODY>Pe\xf1"
                                                                            "a</BODY></HTML>\r\n"));
    QVERIFY(
        writeFile(m_work.filePath(QStringLiteral("startup/foto.jpg")), QByteArray(200000, '\xd8')));
}

QString TestLiveCheck::certificate(const QString &altName)
{
    const QString ca = m_work.filePath(QStringLiteral("ca"));
    const QString name = m_work.filePath(altName.section(u':', 1));
    const QStringList ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    if ((!QFile::exists(ca + ".crt") &&
         !openssl(QStringList{"req", "-x509", "-days", "2", "-subj", "/CN=Prueba Brenzo", "-keyout",
                              ca + ".key", "-out", ca + ".crt"} +
                  ec)) ||
        !openssl(QStringList{"req", "-subj", "/CN=brenzo", "-keyout", name + ".key", "-out",
                             name + ".csr"} +
                 ec) ||
        !writeFile(name + ".ext", "subjectAltName=" + altName.toLatin1()) ||
        !openssl({"x509", "-req", "-in", name + ".csr", "-CA", ca + ".crt", "-CAkey", ca + ".key",
                  "-CAcreateserial", "-days", "2", "-extfile", name + ".ext", "-out",
                  name + ".crt"}))
        return QString();
    QFile certificate(name + ".crt"), key(name + ".key");
    return certificate.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly) &&
                   writeFile(name + ".pem", certificate.readAll() + key.readAll())
               ? name + ".pem"
               : QString();
}

void TestLiveCheck::check_data()
{
    // served: paths under the server's folder, each a copy of the sent file
    // of that name, or "path=content". altName: the certificate's name for
    // HTTPS, "closed" for a port nobody listens on, empty for plain HTTP.
    QTest::addColumn<QStringList>("served");
    QTest::addColumn<QString>("altName");
    QTest::addColumn<QString>("typedPath");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QStringList>("missing");
    QTest::addColumn<QString>("reason");

    const QStringList both = {"index.htm", "foto.jpg"};
    const QStringList placeholder = QStringList{"index.html=<html>Hosting</html>"} + both;
    QTest::newRow("all fine") << both << ""
                              << "" << Verdict::Live << QStringList() << "";
    QTest::newRow("wrong folder") << QStringList{"www/index.htm", "www/foto.jpg"} << ""
                                  << "" << Verdict::PageNotFound << QStringList() << "";
    QTest::newRow("placeholder in front")
        << placeholder << ""
        << "" << Verdict::OtherPageAtAddress << QStringList() << "";
    QTest::newRow("address names the page") << placeholder << ""
                                            << "/index.htm" << Verdict::Live << QStringList() << "";
    QTest::newRow("old copy") << QStringList{"index.htm=<HTML>antes</HTML>", "foto.jpg"} << ""
                              << "" << Verdict::OldCopy << QStringList() << "";
    QTest::newRow("missing picture")
        << QStringList{"index.htm"} << ""
        << "" << Verdict::FilesMissing << QStringList{"foto.jpg"} << "";
    QTest::newRow("picture cut short")
        << QStringList{"index.htm", "foto.jpg=\xd8\xd8"} << ""
        << "/" << Verdict::FilesMissing << QStringList{"foto.jpg"} << "";
    QTest::newRow("no server") << both << "closed"
                               << "" << Verdict::Unreachable << QStringList()
                               << "el servidor rechazó la conexión";
    QTest::newRow("https") << both << "IP:127.0.0.1"
                           << "" << Verdict::Live << QStringList() << "";
    QTest::newRow("https, wrong name") << both << "DNS:otro.example"
                                       << "" << Verdict::BadCertificate << QStringList() << "";
}

void TestLiveCheck::check()
{
    QFETCH(QStringList, served);
    QFETCH(QString, altName);
    QFETCH(QString, typedPath);
    QFETCH(Verdict, verdict);

    LighttpdServer server;
    quint16 port = 0;
    LiveCheck check;
    check.setRetryDelay(50);
    if (altName == QLatin1String("closed")) {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    } else {
        const QString pem = altName.isEmpty() ? QString() : certificate(altName);
        if (!altName.isEmpty() && pem.isEmpty())
            QSKIP("openssl could not make a certificate (install openssl)");
        if (const QString why = server.start(pem); !why.isEmpty())
            QSKIP(qPrintable(why));
        port = server.port();
        for (const QString &entry : served) {
            const QString name = entry.section(u'=', 0, 0);
            QFile sent(m_work.filePath("startup/" + QFileInfo(name).fileName()));
            QVERIFY(entry.contains(u'=') || sent.open(QIODevice::ReadOnly));
            QVERIFY(writeFile(QDir(server.root()).filePath(name),
                              entry.contains(u'=') ? entry.section(u'=', 1).toLatin1()
                                                   : sent.readAll()));
        }
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslCertificate::fromPath(m_work.filePath("ca.crt")));
        check.setTlsConfiguration(tls);
    }

    // Typed without a scheme, the address means HTTPS.
    const bool https = altName.contains(u':');
    const QString typed =
        (https ? "" : "http://") + QStringLiteral("127.0.0.1:%1").arg(port) + typedPath;
    QSignalSpy finished(&check, &LiveCheck::finished);
    check.start(typed, m_work.filePath("startup"), m_files);
    QVERIFY(finished.wait(30000));
    const auto report = finished.at(0).at(0).value<LiveCheck::Report>();
    QVERIFY2(report.verdict == verdict, qPrintable(LiveCheckMessages::details(report)));
    QTEST(report.missing, "missing");
    QTEST(report.reason, "reason");
}

void TestLiveCheck::messages_data()
{
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("text");
    const auto row = [](Verdict verdict, const char *text) {
        QTest::newRow(QMetaEnum::fromType<Verdict>().valueToKey(int(verdict)))
            << verdict << QString::fromUtf8(text);
    };
    row(Verdict::Live, "Su página ya puede verse en https://ejemplo.es");
    row(Verdict::PageNotFound,
        "Su página se ha publicado, pero no se ve en https://ejemplo.es. Puede que el directorio "
        "remoto no sea el que muestra su servidor web: pruebe con public_html, www o htdocs, o "
        "pregunte a su proveedor.");
    row(Verdict::OtherPageAtAddress,
        "Su página se ha publicado, pero en https://ejemplo.es se ve otra página. Puede que su "
        "proveedor haya dejado allí su propia página de inicio (index.html, index.php...): "
        "bórrela, o dé a su página otro nombre en la página 8.");
    row(Verdict::OldCopy, "Su página se ha publicado, pero https://ejemplo.es muestra todavía una "
                          "copia anterior. Es normal durante unos minutos si su proveedor guarda "
                          "copias: vuelva a mirarla más tarde.");
    row(Verdict::FilesMissing, "Su página se ha publicado, pero estos archivos no se ven en su "
                               "dirección: foto.jpg, logo %1.gif.");
    row(Verdict::BadCertificate, "Su página ya puede verse en https://ejemplo.es, pero su "
                                 "certificado no es válido: los navegadores avisarán a quien la "
                                 "visite.");
    row(Verdict::Unreachable, "No pudo comprobarse su página en https://ejemplo.es: no existe ese "
                              "nombre de servidor.");
}

void TestLiveCheck::messages()
{
    LiveCheck::Report report;
    QFETCH(Verdict, verdict);
    report.verdict = verdict;
    report.address = LiveCheck::addressFrom(QStringLiteral(" ejemplo.es\t"));
    report.missing = QStringList{"foto.jpg", "logo %1.gif"};
    report.reason = QStringLiteral("no existe ese nombre de servidor");
    QTEST(LiveCheckMessages::text(report), "text");
}

QTEST_GUILESS_MAIN(TestLiveCheck)
#include "tst_livecheck.moc"
