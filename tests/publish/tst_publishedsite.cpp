// SPDX-License-Identifier: GPL-3.0-or-later
// The whole journey, checked as the person visiting the page meets it: a
// page with a background, a sound and pictures named "Peña.gif" and
// "foto 1.jpg" is written by the page library, published by the real upload
// run to pyftpdlib, served over HTTP from the server's folder and opened in
// headless Chromium, which must find every picture, the background and the
// sound.

#include "page/GenerationRun.h"
#include "tests/publish/PublishTexts.h"
#include "tests/publish/PublishToPyftpdlib.h"
#include "tests/publish/ftp/PyftpdlibServer.h"

#include <QStandardPaths>
#include <QtTest>

class TestPublishedSite : public QObject {
    Q_OBJECT

private slots:
    void visitorSeesEveryFile();

private:
    QTemporaryDir m_config;
};

void TestPublishedSite::visitorSeesEveryFile()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    for (const char *tool : {"/usr/bin/chromium", "/usr/bin/chromedriver"}) {
        if (!QFileInfo(QLatin1String(tool)).isExecutable())
            QSKIP(qPrintable(QStringLiteral("%1 is missing (install chromium and chromium-driver)")
                                 .arg(QLatin1String(tool))));
    }
    PyftpdlibServer server;
    if (const QString why = server.start(); !why.isEmpty())
        QSKIP(qPrintable(why));

    // The page, from the page library, beside its files.
    const QDir media(QStringLiteral(BRENZO_MEDIA_DIR));
    QTemporaryDir startup;
    const QList<std::pair<QString, QString>> sources = {
        {"fondo_cielo.jpg", "fondo_cielo.jpg"},   {"boton_brenzo.gif", "boton_brenzo.gif"},
        {"samples/campanas.wav", "campanas.wav"}, {"samples/estrella.gif", "Peña.gif"},
        {"samples/foto_playa.jpg", "foto 1.jpg"},
    };
    for (const auto &[source, name] : sources)
        QVERIFY2(QFile::copy(media.filePath(source), QDir(startup.path()).filePath(name)),
                 qPrintable(source));
    PageSettings settings;
    settings.txtTitol = QStringLiteral("Mi página");
    settings.optCombinacion = Combinacion::optCielo;
    settings.stSonido = QStringLiteral("campanas.wav");
    settings.txtLibre = QStringLiteral("Bienvenidos a la página de Ana");
    settings.lblNombreImagen1 = QStringLiteral("Peña.gif");
    settings.lblNombreImagen2 = QStringLiteral("foto 1.jpg");
    settings.txtEmail = QStringLiteral("ana@example.com");
    const GenerationResult page = runGeneration(settings, startup.path());
    QVERIFY(page.written);
    const QStringList files = publishFileNames(page.entries);

    // Published by the real run.
    QCOMPARE(publishToPyftpdlib(server, startup.path(), files)
                 .value_or(QStringList{QStringLiteral("the upload did not end")}),
             QStringList{PublishTexts::Published});

    // Served from the server's folder.
    QProcess http;
    http.setProcessChannelMode(QProcess::MergedChannels);
    http.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                QStringLiteral("--directory"), server.root(), QStringLiteral("0")});
    static const QRegularExpression served(QStringLiteral("port (\\d+)"));
    QString port;
    QVERIFY(QTest::qWaitFor(
        [&] {
            const QRegularExpressionMatch match = served.match(QString::fromUtf8(http.peek(4096)));
            port = match.captured(1);
            return match.hasMatch();
        },
        30000));

    // Visited.
    QProcess browser;
    browser.setProcessChannelMode(QProcess::MergedChannels);
    browser.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(BRENZO_CHECK_SITE),
                   QStringLiteral("http://127.0.0.1:%1/%2").arg(port, settings.txtHTML),
                   settings.txtTitol, settings.txtLibre});
    const bool ended = browser.waitForFinished(180000);
    const QString report = QString::fromUtf8(browser.readAll());
    http.terminate();
    http.waitForFinished(5000);
    qInfo().noquote() << report;
    if (report.contains(QLatin1String("No module named 'selenium'")))
        QSKIP("python3-selenium is missing");
    QVERIFY(ended);
    QCOMPARE(browser.exitCode(), 0);
    // Three pictures: the two of the page and the badge.
    QCOMPARE(report.count(QLatin1String("PICTURE ")), 3);
    QVERIFY(report.contains(QLatin1String("Pe%C3%B1a.gif")));
}

QTEST_MAIN(TestPublishedSite)
#include "tst_publishedsite.moc"
