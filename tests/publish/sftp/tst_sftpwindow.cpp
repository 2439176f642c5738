// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing by SFTP as the user does it: "SFTP (SSH)" chosen, the server's
// port typed after its name, no password (the key logs in), the host key
// asked about once, and the files on OpenSSH's server.
#include "publish/TfrmEnviar.h"
#include "tests/publish/sftp/SshdServer.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestSftpWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_folder;
    SshdServer m_server;

    QString site() const { return QDir(m_server.workFolder()).filePath(u"sitio"_s); }

    // Fills the window for the server at `host` (the test's sshd by default),
    // by SFTP, with the key and no password.
    void fill(TfrmEnviar &window, const QString &host = {})
    {
        window.findChild<QLineEdit *>(u"txtServer"_s)
            ->setText(host.isEmpty() ? u"127.0.0.1:%1"_s.arg(m_server.port()) : host);
        window.findChild<QLineEdit *>(u"txtUSer"_s)
            ->setText(::geteuid() == 0 ? u"root"_s : qEnvironmentVariable("USER"));
        window.findChild<QLineEdit *>(u"txtPassword"_s)->clear();
        window.findChild<QComboBox *>(u"txtRemoto"_s)->setEditText(site());
        window.findChild<QComboBox *>(u"cmbConexion"_s)->setCurrentIndex(2);
        window.show();
    }

    // Publishes the page and its picture; the texts of the boxes shown.
    QStringList publish(RecordingPrompts &prompts, QStringList *statuses = nullptr)
    {
        TfrmEnviar window(prompts);
        window.setUpload(m_folder.path(), {u"index.htm"_s, u"foto.jpg"_s});
        if (statuses)
            connect(&window, &TfrmEnviar::statusChanged, this,
                    [statuses](const QString &text) { statuses->append(text); });
        fill(window);
        auto *button = window.findChild<QPushButton *>(u"btnPublica"_s);
        button->click();
        if (!QTest::qWaitFor([&] { return button->isEnabled(); }, 60000))
            return {u"(the run did not end)"_s};
        return prompts.messageTexts();
    }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_home.path() + u"/config"_s).toUtf8());
        qunsetenv("SSH_AUTH_SOCK");
        if (const QString why = m_server.start(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QDir(m_home.path()).mkpath(u".ssh"_s);
        QDir().mkpath(site());
        const QString key = m_home.path() + u"/.ssh/id_ed25519"_s;
        SshdServer::run(u"ssh-keygen"_s,
                        {u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, {}, u"-f"_s, key});
        QFile publicKey(key + u".pub"_s);
        QFile authorized(m_server.authorizedKeys());
        QVERIFY(publicKey.open(QIODevice::ReadOnly) && authorized.open(QIODevice::WriteOnly));
        authorized.write(publicKey.readAll());
    }

    void publishesWithTheKeyAndAsksOnce()
    {
        QMap<QString, QByteArray> files{{u"foto.jpg"_s, QByteArray(300'000, 'j')},
                                        {u"index.htm"_s, "<HTML>\r\nhola\r\n</HTML>\r\n"}};
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            writeFile(m_folder.filePath(it.key()), it.value());
        const QString published = u"¡Enhorabuena! Su página ha sido publicada correctamente"_s;

        RecordingPrompts first;
        first.answers.enqueue(true);
        QStringList statuses;
        const qsizetype logStart = m_server.sftpLog().size();
        QCOMPARE(publish(first, &statuses), QStringList{published});
        QVERIFY(statuses.contains(u"Conectado con el servidor SFTP"_s));
        // The page goes last, after every file it shows; sshd's log comes
        // from the session's process, a little later.
        const auto renamedTo = [&](const QString &name) {
            return m_server.sftpLog().mid(logStart).indexOf(u"new \"%1/%2\""_s.arg(site(), name));
        };
        QTRY_VERIFY2(renamedTo(u"index.htm"_s) > 0, qPrintable(m_server.sftpLog().mid(logStart)));
        QVERIFY(renamedTo(u"foto.jpg"_s) > 0 &&
                renamedTo(u"index.htm"_s) > renamedTo(u"foto.jpg"_s));
        const auto questions = first.ofKind(RecordingPrompts::Kind::Question);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].title, u"Brenzo"_s);
        QCOMPARE(questions[0].defaultAnswer, DefaultAnswer::No);
        QVERIFY(questions[0].text.startsWith(
            u"No puede comprobarse la identidad del servidor [127.0.0.1]:%1."_s.arg(
                m_server.port())));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile arrived(QDir(site()).filePath(it.key()));
            QVERIFY(arrived.open(QIODevice::ReadOnly));
            QCOMPARE(arrived.readAll(), it.value());
        }
        // The key is kept beside the settings, for the owner only.
        const QFileInfo kept(m_home.path() + u"/config/BrenzoFTP.known_hosts"_s);
        QVERIFY(kept.exists());
        QCOMPARE(kept.permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);

        RecordingPrompts second;
        QCOMPARE(publish(second), QStringList{published});
        QVERIFY(second.ofKind(RecordingPrompts::Kind::Question).isEmpty());
    }

    // Cancelar in the middle of a sound: the window closes at once, and the
    // connection, on its own, still removes what it had sent, there and
    // through a link of 50 ms.
    void cancelRemovesTheCutFile_data()
    {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("megabytes");
        QTest::newRow("loopback") << 0 << 64;
        QTest::newRow("50 ms away") << 50 << 4;
    }
    void cancelRemovesTheCutFile()
    {
        QFETCH(int, delayMs);
        QFETCH(int, megabytes);
        writeFile(m_folder.filePath(u"index.htm"_s), "<HTML></HTML>\r\n");
        writeFile(m_folder.filePath(u"sonido.wav"_s), QByteArray(megabytes * 1'000'000, 's'));
        QProcess proxy;
        QString host;
        if (delayMs > 0) {
            // 127.0.0.2 leads to the proxy, which passes everything on to sshd.
            proxy.start(QStringLiteral(BRENZO_SHAPING_PROXY),
                        {u"127.0.0.2"_s, u"127.0.0.1"_s, QString::number(m_server.port()),
                         QString::number(m_server.port()), QString::number(delayMs), u"16000"_s});
            QVERIFY(proxy.waitForReadyRead(10000));
            host = u"127.0.0.2:%1"_s.arg(m_server.port());
        }
        const QString temporary = site() + u"/.sonido.wav.brenzo-tmp"_s;
        RecordingPrompts prompts;
        prompts.answers.enqueue(true); // the key, when 127.0.0.2 is new
        {
            TfrmEnviar window(prompts);
            window.setUpload(m_folder.path(), {u"index.htm"_s, u"sonido.wav"_s});
            fill(window, host);
            window.findChild<QPushButton *>(u"btnPublica"_s)->click();
            QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(temporary).size() > 1'000'000, 30000);
            window.findChild<QPushButton *>(u"BitBtn2"_s)->click();
            QTRY_VERIFY(!window.isVisible());
        }
        QCOMPARE(prompts.messageTexts(),
                 (QStringList{u"Envio de página web cancelado por el usuario"_s,
                              u"No puede enviarse el archivo sonido.wav"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(temporary), 12000);
        QTRY_VERIFY(m_server.sftpLog().contains(u"remove name \"%1\""_s.arg(temporary)));
        // The page was to go after the sound: the one on the server is older.
        QVERIFY(QFileInfo(site() + u"/index.htm"_s).size() != 15);
        proxy.kill();
        proxy.waitForFinished();
    }
};

QTEST_MAIN(TestSftpWindow)
#include "tst_sftpwindow.moc"
