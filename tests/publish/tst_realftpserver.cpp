// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing to a real FTP server (Debian's pyftpdlib, started here on
// 127.0.0.1): a page with every kind of entry arrives byte for byte.

#include "RecordingPrompts.h"
#include "TfrmEnviar.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

class TestRealFtpServer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void publishesEveryKindOfEntry();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_root;
    QProcess m_server;
    QStringList m_log;
    quint16 m_port = 0;
};

void TestRealFtpServer::initTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    // Debian's pyftpdlib belongs to the system's interpreter, whatever
    // "python3" on the PATH may be.
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo(python).isExecutable())
        QSKIP("/usr/bin/python3 is missing (install python3-pyftpdlib)");
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import pyftpdlib")});
    QSignalSpy probed(&probe, &QProcess::finished);
    QVERIFY(probed.wait(30000));
    if (probe.exitCode() != 0)
        QSKIP("pyftpdlib is missing (install python3-pyftpdlib)");

    QVERIFY(QDir(m_root.path()).mkdir(QStringLiteral("public_html")));
    connect(&m_server, &QProcess::readyReadStandardOutput, this, [this] {
        while (m_server.canReadLine()) {
            const QString line = QString::fromUtf8(m_server.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PORT ")))
                m_port = quint16(line.mid(5).toUInt());
            else if (line.startsWith(QLatin1String("CMD ")))
                m_log.append(line.mid(4));
        }
    });
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(python, {QStringLiteral(BRENZO_REAL_FTP_SERVER), m_root.path(),
                            QStringLiteral("ana"), QStringLiteral("secreto")});
    QTRY_VERIFY_WITH_TIMEOUT(m_port != 0, 30000);
}

void TestRealFtpServer::cleanupTestCase()
{
    if (m_server.state() != QProcess::NotRunning) {
        QSignalSpy finished(&m_server, &QProcess::finished);
        m_server.terminate();
        if (!finished.wait(10000))
            m_server.kill();
    }
}

void TestRealFtpServer::publishesEveryKindOfEntry()
{
    // The page, the background, the sound, pictures 1 to 3, the badge and a
    // picture named in Greek and Chinese letters.
    const QDir media(QStringLiteral(BRENZO_MEDIA_DIR));
    QTemporaryDir startup;
    const QStringList sources = {"fondo_cielo.jpg",        "samples/campanas.wav",
                                 "samples/foto_playa.jpg", "samples/estrella.gif",
                                 "samples/retrato.jpg",    "boton_brenzo.gif"};
    QStringList files = {QStringLiteral("mipagina.htm")};
    {
        QFile page(QDir(startup.path()).filePath(files[0]));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<HTML>\r\n<HEAD><TITLE>Mi p\xe1gina</TITLE></HEAD>\r\n</HTML>\r\n");
    }
    for (const QString &source : sources) {
        const QString name = QFileInfo(source).fileName();
        QVERIFY2(QFile::copy(media.filePath(source), QDir(startup.path()).filePath(name)),
                 qPrintable(source));
        files.append(name);
    }
    // A name ISO-8859-1 cannot hold lands under its UTF-8 name, the one a
    // browser asks for.
    const QString greek = QStringLiteral("Ελλάδα 写真.gif");
    QVERIFY(QFile::copy(media.filePath(QStringLiteral("samples/estrella.gif")),
                        QDir(startup.path()).filePath(greek)));
    files.append(greek);

    RecordingPrompts prompts;
    TfrmEnviar window(prompts);
    window.ftpClient().setPort(m_port);
    window.setUpload(startup.path(), files);
    window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
        ->setText(QStringLiteral("127.0.0.1"));
    window.findChild<QLineEdit *>(QStringLiteral("txtUSer"))->setText(QStringLiteral("ana"));
    window.findChild<QLineEdit *>(QStringLiteral("txtPassword"))
        ->setText(QStringLiteral("secreto"));
    window.findChild<QComboBox *>(QStringLiteral("txtRemoto"))
        ->setEditText(QStringLiteral("/public_html"));
    window.show();
    auto *publish = window.findChild<QPushButton *>(QStringLiteral("btnPublica"));
    publish->click();
    QVERIFY(QTest::qWaitFor([&] { return publish->isEnabled(); }, 60000));

    QCOMPARE(
        prompts.messageTexts(),
        QStringList{QStringLiteral("¡Enhorabuena! Su página ha sido publicada correctamente")});
    for (const QString &name : std::as_const(files)) {
        QFile local(QDir(startup.path()).filePath(name));
        QFile remote(QDir(m_root.path()).filePath(QStringLiteral("public_html/") + name));
        QVERIFY(local.open(QIODevice::ReadOnly));
        QVERIFY2(remote.open(QIODevice::ReadOnly), qPrintable(name));
        QVERIFY2(local.readAll() == remote.readAll(), qPrintable(name));
    }
    QVERIFY(!m_log.contains(QStringLiteral("QUIT")));
    qInfo().noquote() << "Commands the server received:\n  " + m_log.join(QStringLiteral("\n  "));
}

QTEST_MAIN(TestRealFtpServer)
#include "tst_realftpserver.moc"
