// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/sftp/SshdServer.h"

#include "tests/publish/StopServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>

SshdServer::~SshdServer()
{
    stop();
}

QByteArray SshdServer::run(const QString &program, const QStringList &arguments,
                           const QByteArray &input)
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QByteArray();
    const QByteArray output = process.readAllStandardOutput();
    return output.isEmpty() ? QByteArray("\n") : output;
}

QString SshdServer::authorizedKeys() const
{
    return QDir(m_work.path()).filePath(QStringLiteral("authorized_keys"));
}

QByteArray SshdServer::hostKeyEntry() const
{
    QFile key(QDir(m_work.path()).filePath(QStringLiteral("host_ed25519.pub")));
    key.open(QIODevice::ReadOnly);
    return QStringLiteral("[127.0.0.1]:%1 ").arg(m_port).toUtf8() + key.readAll();
}

QString SshdServer::log()
{
    m_log += QString::fromUtf8(m_process.readAllStandardError());
    return m_log;
}

QString SshdServer::sftpLog() const
{
    QFile file(QDir(m_work.path()).filePath(QStringLiteral("sftp.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString SshdServer::start()
{
    // sshd hands the session's standard error to the client: the log goes
    // to a file of its own.
    // Every user the tests log in as writes to it.
    if (m_subsystem.isEmpty()) {
        const QString log = QDir(m_work.path()).filePath(QStringLiteral("sftp.log"));
        QFile(log).open(QIODevice::WriteOnly);
        QFile::setPermissions(log, QFileDevice::Permissions(0x6666));
        m_subsystem = QStringLiteral("/usr/lib/openssh/sftp-server -e -l INFO 2>>") + log;
    }
    const QString binary = QStringLiteral("/usr/sbin/sshd");
    if (!QFileInfo(binary).isExecutable())
        return QStringLiteral("sshd is missing (install openssh-server)");
    const QDir work(m_work.path());
    const QString hostKey = work.filePath(QStringLiteral("host_ed25519"));
    if (run(QStringLiteral("ssh-keygen"),
            {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"),
             QStringLiteral("-N"), QString(), QStringLiteral("-f"), hostKey})
            .isEmpty())
        return QStringLiteral("ssh-keygen failed");
    QFile(authorizedKeys()).open(QIODevice::WriteOnly);
    // Where sshd drops its privileges to.
    QDir().mkpath(QStringLiteral("/run/sshd"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
        probe.close();
        const QString config = work.filePath(QStringLiteral("sshd_config"));
        QFile file(config);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(
            QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2\nPidFile none\n"
                           "UsePAM no\nStrictModes no\nAuthorizedKeysFile %3\n"
                           "PermitRootLogin yes\nPasswordAuthentication yes\n"
                           "KbdInteractiveAuthentication no\nLogLevel VERBOSE\n%5"
                           "Subsystem sftp %4\nMatch User *-2\n"
                           "AuthenticationMethods publickey,password\n")
                .arg(QString::number(m_port), hostKey, authorizedKeys(), m_subsystem, m_extraConfig)
                .toUtf8());
        file.close();
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(binary,
                        {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), config});
        QElapsedTimer clock;
        clock.start();
        while (m_process.waitForReadyRead(10000) || m_process.state() == QProcess::Running) {
            if (log().contains(QStringLiteral("Server listening")))
                return QString();
            if (clock.elapsed() > 10000)
                break;
        }
        stop();
        if (!m_log.contains(QStringLiteral("Address already in use")))
            return QStringLiteral("sshd did not start: ") + m_log;
    }
    return QStringLiteral("sshd found no free port");
}

void SshdServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    stopServer(m_process);
    log();
}
