// SPDX-License-Identifier: GPL-3.0-or-later
// Publishing by SFTP to OpenSSH's server: the host key question, the ways of
// logging in, folders, file names and a file cut short.
#include "publish/PublishSettings.h"
#include "publish/SettingsKeeper.h"
#include "publish/sftp/SftpTransport.h"
#include "publish/TrustQuestion.h"
#include "tests/publish/sftp/SshdServer.h"

#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <list>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString PasswordUser = u"brenzo-sftp-test"_s;
const QString Password = u"clave de prueba"_s;
} // namespace

class tst_SftpTransport : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    SshdServer m_server;
    // OpenSSH's sftp-server without posix-rename@openssh.com, its log in a file.
    SshdServer m_renameless;
    QString renamelessLog() const { return m_renameless.workFolder() + u"/sftp.log"_s; }
    QString m_user = QString::fromLocal8Bit(qgetenv("USER"));
    QString m_reason; // of the last login

    QString home(const QString &name) const { return QDir(m_home.path()).filePath(name); }
    QString ownKnownHosts() const { return PublishSettings::knownHostsFile(); }
    // The trust the program keeps, read afresh from its files as they are now.
    std::list<SettingsKeeper> m_keepers;
    TrustMemory &keeper() { return m_keepers.emplace_back(); }
    QString site() const { return QDir(m_server.workFolder()).filePath(u"sitio"_s); }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    QByteArray keyFor(const QString &path)
    {
        QFile::remove(path);
        SshdServer::run(u"ssh-keygen"_s,
                        {u"-q"_s, u"-t"_s, u"ed25519"_s, u"-N"_s, {}, u"-f"_s, path});
        return read(path + u".pub"_s);
    }

    // Runs one operation to its end; the transport's answer.
    static bool call(SftpTransport &transport, const std::function<void()> &operation)
    {
        QSignalSpy finished(&transport, &Transport::finished);
        operation();
        return finished.wait(30000) && finished.constFirst().constFirst().toBool();
    }
    std::unique_ptr<SftpTransport> logIn(const QString &user = {}, const QString &password = {},
                                         const SshdServer *server = nullptr)
    {
        auto transport = std::make_unique<SftpTransport>(keeper());
        const TransportLogin login{u"127.0.0.1"_s, (server ? server : &m_server)->port(),
                                   user.isEmpty() ? m_user : user, password};
        const bool ok = call(*transport, [&] { transport->connectAndLogin(login); });
        m_reason = transport->failureReason();
        return ok ? std::move(transport) : nullptr;
    }

private slots:
    void cleanup() { m_keepers.clear(); }
    void initTestCase()
    {
        if (::geteuid() == 0)
            m_user = u"root"_s;
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home(u"config"_s).toUtf8());
        qunsetenv("SSH_AUTH_SOCK");
        if (const QString why = m_server.start(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QDir().mkpath(home(u".ssh"_s));
        QDir().mkpath(site());
        write(m_server.authorizedKeys(), keyFor(home(u".ssh/id_ed25519"_s)));
        m_renameless.setSubsystem(u"python3 %1 no-posix-rename %2"_s.arg(
            QStringLiteral(BRENZO_SFTP_SUBSYSTEM), renamelessLog()));
        if (const QString why = m_renameless.start(); !why.isEmpty())
            QSKIP(qPrintable(why));
        write(m_renameless.authorizedKeys(), read(home(u".ssh/id_ed25519.pub"_s)));
    }

    // What ~/.ssh/known_hosts holds: "none" of the server, its key ("known"),
    // the key also on a "@revoked" line, the key on a "@cert-authority"
    // line, or a pipe in the file's place.
    void hostKey_data()
    {
        QTest::addColumn<QString>("openSsh");
        QTest::addColumn<bool>("otherKeyInOurs");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("trust");
        const QString unknown = u"No puede comprobarse la identidad del servidor %1.\n\nClave %2 "
                                "del servidor:\n%3\n\n¿Desea confiar en este servidor?"_s;
        const QString changed = u"¡Atención! La clave del servidor %1 ha cambiado desde la última "
                                "vez que se confió en él. Puede que alguien se esté haciendo pasar "
                                "por el servidor.\n\nClave %2 del servidor:\n%3\n\n¿Desea confiar "
                                "en este servidor?"_s;
        QTest::newRow("unknown, trusted") << u"none"_s << false << unknown << true;
        QTest::newRow("unknown, refused") << u"none"_s << false << unknown << false;
        QTest::newRow("changed, trusted") << u"none"_s << true << changed << true;
        QTest::newRow("changed, refused") << u"none"_s << true << changed << false;
        QTest::newRow("in ~/.ssh/known_hosts") << u"known"_s << true << QString() << false;
        QTest::newRow("revoked") << u"revoked"_s << false << QString() << true;
        QTest::newRow("revoked, trusted in ours") << u"revoked"_s << true << QString() << true;
        QTest::newRow("a certificate authority") << u"cert-authority"_s << false << unknown << true;
        QTest::newRow("a pipe") << u"pipe"_s << false << unknown << true;
    }
    void hostKey()
    {
        QFETCH(QString, openSsh);
        QFETCH(bool, otherKeyInOurs);
        QFETCH(QString, asked);
        QFETCH(bool, trust);
        const QByteArray entryStart = u"[127.0.0.1]:%1 "_s.arg(m_server.port()).toUtf8();
        const QByteArray serverKey = m_server.hostKeyEntry().mid(entryStart.size());
        // Lines that cannot be read are passed over.
        QByteArray openSshFile = "garbage\n" + entryStart + "ssh-ed25519 AAAA!!\n";
        if (openSsh == u"known"_s || openSsh == u"revoked"_s)
            openSshFile += m_server.hostKeyEntry();
        if (openSsh == u"revoked"_s)
            openSshFile += "@revoked * " + serverKey;
        if (openSsh == u"cert-authority"_s)
            openSshFile += "@cert-authority " + m_server.hostKeyEntry();
        QFile::remove(home(u".ssh/known_hosts"_s));
        // Nothing may open a pipe for writing and wait on it after this row.
        const auto noPipe = qScopeGuard([this] { QFile::remove(home(u".ssh/known_hosts"_s)); });
        if (openSsh == u"pipe"_s)
            QCOMPARE(::mkfifo(qPrintable(home(u".ssh/known_hosts"_s)), 0600), 0);
        else
            write(home(u".ssh/known_hosts"_s), openSshFile);
        QFile::remove(ownKnownHosts());
        if (otherKeyInOurs) {
            QDir().mkpath(home(u"config"_s));
            write(ownKnownHosts(),
                  "example.org " + keyFor(home(u"other"_s)) +
                      (openSsh == u"revoked"_s ? m_server.hostKeyEntry()
                                               : entryStart + keyFor(home(u"other"_s))));
        }
        const QString fingerprint = QString::fromUtf8(SshdServer::run(
            u"ssh-keygen"_s, {u"-l"_s, u"-f"_s, m_server.workFolder() + u"/host_ed25519.pub"_s}));
        const qsizetype logStart = m_server.log().size();

        SftpTransport transport(keeper());
        QSignalSpy questions(&transport, &Transport::question);
        connect(&transport, &Transport::question, this,
                [trust](const std::shared_ptr<TrustQuestion> &question) {
                    trust ? question->accept() : question->reject();
                });
        const bool ok = call(transport, [&] {
            transport.connectAndLogin({u"127.0.0.1"_s, m_server.port(), m_user, {}});
        });
        QCOMPARE(questions.size(), asked.isEmpty() ? 0 : 1);
        const QString server = u"[127.0.0.1]:%1"_s.arg(m_server.port());
        if (!asked.isEmpty()) {
            QCOMPARE(
                questions.constFirst().constFirst().value<std::shared_ptr<TrustQuestion>>()->text(),
                asked.arg(server, u"ED25519"_s, fingerprint.section(u' ', 1, 1)));
        }
        QCOMPARE(ok, openSsh != u"revoked"_s && (trust || asked.isEmpty()));
        if (!ok) {
            QCOMPARE(transport.failureReason(),
                     openSsh == u"revoked"_s
                         ? u"La clave ED25519 del servidor %1 (%2) está revocada en known_hosts "
                           "(@revoked): Brenzo nunca confía en ella."_s.arg(
                               server, fingerprint.section(u' ', 1, 1))
                         : u"No se confió en la clave del servidor"_s);
            QVERIFY(!m_server.log().mid(logStart).contains(u"Accepted"_s));
            return;
        }
        if (asked.isEmpty())
            return;
        // Trusted once, known from then on: the old entry gave way, in our
        // file only.
        if (openSsh != u"pipe"_s)
            QCOMPARE(read(home(u".ssh/known_hosts"_s)), openSshFile);
        QTRY_COMPARE(read(ownKnownHosts()).count(entryStart), 1);
        QCOMPARE(QFile::permissions(ownKnownHosts()) & 0x7077,
                 QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(read(ownKnownHosts()).count("example.org "), otherKeyInOurs ? 1 : 0);
        SftpTransport again(keeper());
        QSignalSpy asking(&again, &Transport::question);
        QVERIFY(call(again, [&] {
            again.connectAndLogin({u"127.0.0.1"_s, m_server.port(), m_user, {}});
        }));
        QCOMPARE(asking.size(), 0);
    }

    void login_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ok");
        QTest::newRow("key in ~/.ssh") << u"key"_s << true;
        QTest::newRow("key in the agent") << u"agent"_s << true;
        QTest::newRow("password") << u"password"_s << true;
        QTest::newRow("wrong password") << u"wrong password"_s << false;
        QTest::newRow("key, then password") << u"key, then password"_s << true;
    }
    void login()
    {
        QFETCH(QString, how);
        QFETCH(bool, ok);
        write(home(u".ssh/known_hosts"_s), m_server.hostKeyEntry());
        const QByteArray ownKey = read(home(u".ssh/id_ed25519.pub"_s));
        QString user = m_user, password;
        QProcess agent;
        if (how == u"agent"_s) {
            const QString socket = home(u"agent.sock"_s);
            agent.start(u"ssh-agent"_s, {u"-D"_s, u"-a"_s, socket});
            QTRY_VERIFY(QFile::exists(socket));
            qputenv("SSH_AUTH_SOCK", socket.toUtf8());
            write(m_server.authorizedKeys(), keyFor(home(u"agent_key"_s)));
            QVERIFY(!SshdServer::run(u"ssh-add"_s, {home(u"agent_key"_s)}).isEmpty());
        } else if (how.contains(u"password"_s)) {
            if (::geteuid() != 0)
                QSKIP("logging in by password needs a user of our own, which needs root");
            user = PasswordUser + (how.startsWith(u"key"_s) ? u"-2"_s : u""_s);
            SshdServer::run(u"useradd"_s, {u"-M"_s, u"-s"_s, u"/bin/sh"_s, user});
            QVERIFY(
                !SshdServer::run(u"chpasswd"_s, {}, (user + u':' + Password).toUtf8()).isEmpty());
            password = how == u"wrong password"_s ? u"otra"_s : Password;
            QFile::setPermissions(m_server.workFolder(), QFileDevice::Permissions(0x7711));
            write(m_server.authorizedKeys(), user == PasswordUser ? QByteArray() : ownKey);
        }
        const auto transport = logIn(user, password);
        SshdServer::run(u"userdel"_s, {user});
        agent.terminate();
        agent.waitForFinished();
        qunsetenv("SSH_AUTH_SOCK");
        write(m_server.authorizedKeys(), ownKey);
        QCOMPARE(bool(transport), ok);
        QCOMPARE(m_reason.isEmpty(), ok);
        const QString method = how.contains(u"password"_s) ? u"password"_s : u"publickey"_s;
        QVERIFY(m_server.log().contains((ok ? u"Accepted "_s : u"Failed "_s) + method + u" for "_s +
                                        user));
    }
    void folders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("absolute") << site() << QString();
        QTest::newRow("from the login folder") << u"../../"_s + site() << QString();
        QTest::newRow("missing") << site() + u"/nada"_s << u"No such file"_s;
        QTest::newRow("a file") << m_server.authorizedKeys()
                                << m_server.authorizedKeys() + u" no es una carpeta"_s;
    }
    void folders()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        write(home(u".ssh/known_hosts"_s), m_server.hostKeyEntry());
        const auto transport = logIn();
        QVERIFY(transport);
        QCOMPARE(call(*transport, [&] { transport->changeDirectory(folder); }), reason.isEmpty());
        QCOMPARE(transport->failureReason(), reason);
    }

    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("UTF-8 name") << u"página ñandú €.htm"_s << QByteArray("<p>hola</p>");
        QTest::newRow("empty") << u"vacío.txt"_s << QByteArray();
        QTest::newRow("larger than the writes in flight")
            << u"index.htm"_s << QByteArray(5'000'000, 'x') + "fin";
        QTest::newRow("replacing it") << u"index.htm"_s << QByteArray("nueva");
    }
    void files()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        write(home(u".ssh/known_hosts"_s), m_server.hostKeyEntry());
        write(home(u"local"_s), bytes);
        const auto transport = logIn();
        QVERIFY(transport);
        QSignalSpy progress(transport.get(), &Transport::progress);
        QVERIFY(call(*transport, [&] { transport->changeDirectory(site()); }));
        QVERIFY(call(*transport, [&] { transport->store(home(u"local"_s), name); }));
        QCOMPARE(read(site() + u'/' + name), bytes);
        QCOMPARE(progress.isEmpty() ? 0 : progress.constLast().constFirst().toLongLong(),
                 bytes.size());
        QVERIFY(QDir(site()).entryList({u"*brenzo-tmp"_s}, QDir::Hidden | QDir::Files).isEmpty());
    }

    // Closed in the middle of a large file, the connection stops at once and
    // removes what it sent, after the transport is gone; the old file stays
    // whole, whether or not the server can rename over a file. Dropped by
    // the server, it says why, and the next run to the folder removes what
    // is left.
    void cancelMidFile_data()
    {
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<bool>("posixRename");
        for (const bool posixRename : {true, false}) {
            const char *server = posixRename ? "" : ", no posix-rename";
            QTest::addRow("closed%s", server) << false << posixRename;
            QTest::addRow("dropped by the server%s", server) << true << posixRename;
        }
    }
    void cancelMidFile()
    {
        QFETCH(bool, dropped);
        QFETCH(bool, posixRename);
        const SshdServer &server = posixRename ? m_server : m_renameless;
        write(home(u".ssh/known_hosts"_s), server.hostKeyEntry());
        write(site() + u"/grande.bin"_s, "la de antes");
        write(home(u"local"_s), QByteArray(64'000'000, 'y'));
        auto transport = logIn({}, {}, &server);
        QVERIFY(transport);
        QVERIFY(call(*transport, [&] { transport->changeDirectory(site()); }));
        QSignalSpy progress(transport.get(), &Transport::progress);
        QVERIFY(!call(*transport, [&] {
            transport->store(home(u"local"_s), u"grande.bin"_s);
            // Past the server's slow start, as most of a large file is.
            QTRY_VERIFY(!progress.isEmpty() &&
                        progress.constLast().constFirst().toLongLong() > 8'000'000);
            dropped ? void(SshdServer::run(u"pkill"_s,
                                           {u"-KILL"_s, u"-P"_s, QString::number(server.pid())}))
                    : transport->close();
        }));
        QCOMPARE(transport->failureReason().isEmpty(), !dropped);
        QVERIFY(!transport->isConnected());
        transport.reset();
        QCOMPARE(read(site() + u"/grande.bin"_s), QByteArray("la de antes"));
        const QString temporary = site() + u"/.grande.bin.brenzo-tmp"_s;
        if (!dropped) {
            QTRY_VERIFY(!QFile::exists(temporary));
            return;
        }
        QVERIFY(QFile::exists(temporary));
        write(site() + u"/.grande.bin.brenzo-old"_s, "apartado"); // its file is in place
        write(site() + u"/.solo.brenzo-old"_s, "lo único");       // all there is of solo
        const auto next = logIn({}, {}, &server);
        QVERIFY(next);
        QVERIFY(call(*next, [&] { next->changeDirectory(site()); }));
        QVERIFY(call(*next, [&] { next->removeLeftovers(); }));
        QCOMPARE(QDir(site()).entryList({u"*.brenzo-*"_s}, QDir::Hidden | QDir::Files),
                 QStringList{u".solo.brenzo-old"_s});
        QVERIFY(QFile::remove(site() + u"/.solo.brenzo-old"_s));
    }
    // Where the server cannot rename over a file, the old one steps aside:
    // the final name is never written in place.
    void replaceWithoutPosixRename()
    {
        write(home(u".ssh/known_hosts"_s), m_renameless.hostKeyEntry());
        write(site() + u"/index.htm"_s, "la de antes");
        write(home(u"local"_s), "nueva");
        const auto transport = logIn({}, {}, &m_renameless);
        QVERIFY(transport);
        QVERIFY(call(*transport, [&] { transport->changeDirectory(site()); }));
        QVERIFY(call(*transport, [&] { transport->store(home(u"local"_s), u"index.htm"_s); }));
        QCOMPARE(read(site() + u"/index.htm"_s), QByteArray("nueva"));
        QCOMPARE(QDir(site()).entryList({u"*.brenzo-*"_s}, QDir::Hidden | QDir::Files),
                 QStringList());
        const QString log = QString::fromUtf8(read(renamelessLog()));
        const QString target = site() + u"/index.htm"_s;
        QVERIFY2(log.contains(
                     u"rename old \"%1\" new \"%2/.index.htm.brenzo-old\""_s.arg(target, site())),
                 qPrintable(log));
        QVERIFY(!log.contains(u"open \"%1\""_s.arg(target)));
    }
    // A link in a file's place is never followed: what it leads to may be
    // anything of the user's.
    void linksAreNotSent()
    {
        write(home(u".ssh/known_hosts"_s), m_server.hostKeyEntry());
        write(home(u"secreto.txt"_s), "privado");
        QFile::remove(home(u"boton_brenzo.gif"_s));
        QVERIFY(QFile::link(home(u"secreto.txt"_s), home(u"boton_brenzo.gif"_s)));
        const auto transport = logIn();
        QVERIFY(transport);
        QVERIFY(call(*transport, [&] { transport->changeDirectory(site()); }));
        QVERIFY(!call(*transport, [&] {
            transport->store(home(u"boton_brenzo.gif"_s), u"boton_brenzo.gif"_s);
        }));
        QCOMPARE(transport->failureReason(), u"El archivo es un enlace a otro archivo. Brenzo "
                                             "nunca publica enlaces ni lo que hay tras ellos."_s);
        QVERIFY(transport->isConnected());
        QCOMPARE(QDir(site()).entryList({u"*boton*"_s}, QDir::Hidden | QDir::Files), QStringList());
    }
    // Servers that speak SFTP wrongly: answers to requests never made are
    // no sign of life, and end the run at once; a folder without a name is
    // said to be one.
    void wrongAnswers_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("reason");
        QTest::newRow("answers never asked for")
            << u"wrong-ids"_s << u"El servidor SFTP respondió a una petición que no se le hizo"_s;
        QTest::newRow("a folder without a name")
            << u"no-name"_s << u"El servidor SFTP no dijo a qué carpeta lleva «.»"_s;
    }
    void wrongAnswers()
    {
        QFETCH(QString, mode);
        QFETCH(QString, reason);
        SshdServer liar;
        liar.setSubsystem(u"python3 %1 %2"_s.arg(QStringLiteral(BRENZO_SFTP_SUBSYSTEM), mode));
        if (const QString why = liar.start(); !why.isEmpty())
            QSKIP(qPrintable(why));
        write(liar.authorizedKeys(), read(home(u".ssh/id_ed25519.pub"_s)));
        write(home(u".ssh/known_hosts"_s), liar.hostKeyEntry());
        SftpTransport transport(keeper());
        // Long enough for the server to start on a busy machine, short
        // beside the stream of answers, which goes on for hours.
        transport.setLimits({20'000, 10'000});
        QVERIFY(!call(transport, [&] {
            transport.connectAndLogin({u"127.0.0.1"_s, liar.port(), m_user, {}});
        }));
        QCOMPARE(transport.failureReason(), reason);
    }
    // A server that takes the connection and never speaks: the connect limit
    // ends the login, and so does close(), at once (a test that hangs here
    // has a worker that close() failed to stop).
    void silentServer_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("connect limit") << false;
        QTest::newRow("closed meanwhile") << true;
    }
    void silentServer()
    {
        QFETCH(bool, closed);
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        SftpTransport transport(keeper());
        transport.setLimits({closed ? 600'000 : 300, 600'000});
        QVERIFY(!call(transport, [&] {
            transport.connectAndLogin({u"127.0.0.1"_s, silent.serverPort(), m_user, {}});
            QVERIFY(silent.waitForNewConnection(10000));
            if (closed)
                transport.close();
        }));
        QCOMPARE(transport.failureReason(),
                 closed ? QString() : u"El servidor no respondió en 0.3 s"_s);
    }
};

QTEST_GUILESS_MAIN(tst_SftpTransport)
#include "tst_sftptransport.moc"
