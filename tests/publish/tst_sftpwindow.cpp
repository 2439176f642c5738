// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing by SFTP as the user does it: "SFTP (SSH)" chosen, the server's
// port typed after its name, no password (the key logs in), the host key
// asked about once, and the files on OpenSSH's server.
#include "publish/TfrmEnviar.h"
#include "tests/publish/SshdServer.h"
#include "tests/support/RecordingPrompts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
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

    // Publishes the page and its picture; the texts of the boxes shown.
    QStringList publish(RecordingPrompts &prompts)
    {
        TfrmEnviar window(prompts);
        window.setUpload(m_folder.path(), {u"foto.jpg"_s, u"index.htm"_s});
        window.findChild<QLineEdit *>(u"txtServer"_s)
            ->setText(u"127.0.0.1:%1"_s.arg(m_server.port()));
        window.findChild<QLineEdit *>(u"txtUSer"_s)
            ->setText(::geteuid() == 0 ? u"root"_s : qEnvironmentVariable("USER"));
        window.findChild<QLineEdit *>(u"txtPassword"_s)->clear();
        window.findChild<QComboBox *>(u"txtRemoto"_s)->setEditText(site());
        window.findChild<QComboBox *>(u"cmbConexion"_s)->setCurrentIndex(2);
        window.show();
        auto *button = window.findChild<QPushButton *>(u"btnPublica"_s);
        button->click();
        if (!QTest::qWaitFor([&] { return button->isEnabled(); }, 60000))
            return {u"(the run did not end)"_s};
        return prompts.messageTexts();
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
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile file(m_folder.filePath(it.key()));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(it.value());
        }
        const QString published = u"¡Enhorabuena! Su página ha sido publicada correctamente"_s;

        RecordingPrompts first;
        first.answers.enqueue(true);
        QCOMPARE(publish(first), QStringList{published});
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
};

QTEST_MAIN(TestSftpWindow)
#include "tst_sftpwindow.moc"
