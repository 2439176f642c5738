// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the run tests of the job and of the window share: a folder of files
// to publish, settings of their own, and the scripted server's commands.

#include "publish/ftp/FtpDataConnection.h"
#include "tests/publish/ftp/ScriptedFtpServer.h"

#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTcpSocket>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

inline QByteArray randomBytes(qsizetype size)
{
    QList<quint32> words((size + 3) / 4);
    QRandomGenerator(quint32(size)).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), size);
}

inline QStringList commandsOf(const ScriptedFtpServer &server)
{
    QStringList lines;
    for (const QByteArray &line : server.commands)
        lines.append(QString::fromLatin1(line));
    return lines;
}

#ifdef Q_OS_UNIX
// A listening socket whose queue is full and that never accepts: the system
// leaves further connection attempts unanswered, like a host that does not
// reply.
struct UnansweredPort {
    int listener = -1;
    quint16 port = 0;
    QList<QTcpSocket *> fillers;

    UnansweredPort()
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(listener, 0) != 0 ||
            ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port = ntohs(address.sin_port);
        for (int i = 0; i < 4; ++i) {
            fillers.append(new QTcpSocket);
            fillers.last()->connectToHost(QHostAddress::LocalHost, port);
        }
        if (!QTest::qWaitFor(
                [this] { return fillers[0]->state() == QAbstractSocket::ConnectedState; }))
            port = 0;
    }
    ~UnansweredPort()
    {
        qDeleteAll(fillers);
        ::close(listener);
    }
};
#endif

class PublishRunTest : public QObject {
protected:
    // The files every run test publishes from, written once.
    void writeFolder()
    {
        // Before the first QSettings: no test touches the user's own settings.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        QVERIFY(m_folder.isValid());
        writeFile(QStringLiteral("pagina.htm"), "<HTML>\r\n<BODY BGCOLOR=\"#FFFFFF\">\r\nPe\xf1"
                                                "a\r\n</BODY>\r\n</HTML>\r\n");
        // Longer than the data connection's queue and no whole number of its
        // blocks: the file is read and queued over several rounds.
        writeFile(QStringLiteral("fondo_cielo.jpg"),
                  randomBytes(FtpDataConnection::QueueLimit + FtpDataConnection::BlockSize / 2 + 7));
        writeFile(QStringLiteral("vacio.gif"), QByteArray());
        writeFile(QStringLiteral("sonido.mid"), randomBytes(1000));
        // A name that would carry a second command; the file itself is there.
        writeFile(QStringLiteral("x\r\nDELE pagina.htm"), "x");
        // In a picture's place: a link to a private file, and a pipe.
        writeFile(QStringLiteral("secreto.txt"), "privado");
        QVERIFY(QFile::link(path(QStringLiteral("secreto.txt")), path(QStringLiteral("boton.gif"))));
    #ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("tubo.gif"))).constData(), 0600), 0);
    #endif
    }
    // Each test starts without saved settings.
    static void forgetSettings()
    {
        QFile::remove(
            QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrenzoFTP"))
                .fileName());
    }

    QString path(const QString &name) const { return m_folder.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        m_files.insert(name, bytes);
    }
    // A file large enough that its sending takes many turns of the loop.
    QString bigFile()
    {
        const QString name = QStringLiteral("grande.bin");
        if (!m_files.contains(name))
            writeFile(name, randomBytes(48 * 1024 * 1024));
        return name;
    }

    QTemporaryDir m_config;
    QTemporaryDir m_folder;
    QMap<QString, QByteArray> m_files;
};
