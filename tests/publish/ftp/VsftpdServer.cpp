// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/ftp/VsftpdServer.h"

#include "tests/publish/StopServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <unistd.h>

namespace {

const QString Binary = QStringLiteral("/usr/sbin/vsftpd");
// A PAM service of our own: the user logs in by password alone, without the
// login shell that Debian's own vsftpd service asks for.
const QString PamService = QStringLiteral("brenzo-ftp-test");

// Runs a command that takes the system's user database lock, trying again
// while another test holds it. Returns the exit code.
int runLocked(const QString &program, const QStringList &arguments, const QByteArray &input = {})
{
    int code = -1;
    for (int attempt = 0; attempt < 50; ++attempt) {
        QProcess process;
        process.start(program, arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(30000);
        code = process.exitCode();
        const QByteArray errors = process.readAllStandardError();
        if (code == 0 || !errors.contains("lock"))
            break;
        QThread::msleep(100);
    }
    return code;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

VsftpdServer::VsftpdServer(QStringList extraConfig) : m_extraConfig(std::move(extraConfig)) {}

VsftpdServer::~VsftpdServer()
{
    stop();
}

QString VsftpdServer::root() const
{
    return QDir(m_work.path()).filePath(QStringLiteral("root"));
}

QString VsftpdServer::log() const
{
    QFile file(QDir(m_work.path()).filePath(QStringLiteral("vsftpd.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString VsftpdServer::ensureUser()
{
    const QString pamFile = QStringLiteral("/etc/pam.d/") + PamService;
    if (!QFile::exists(pamFile)) {
        // Written whole and renamed into place: a test reading it meanwhile
        // sees all of it or nothing.
        QSaveFile pam(pamFile);
        if (!pam.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write ") + pamFile;
        pam.write("auth required pam_unix.so\naccount required pam_unix.so\n"
                  "session required pam_unix.so\n");
        if (!pam.commit())
            return QStringLiteral("cannot write ") + pamFile;
    }
    // 9: the user exists already, perhaps made by another test just now.
    const int added =
        runLocked(QStringLiteral("useradd"),
                  {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
                   QStringLiteral("--home-dir"), QStringLiteral("/"), QStringLiteral("--shell"),
                   QStringLiteral("/usr/sbin/nologin"), QLatin1String(User)});
    if (added != 0 && added != 9)
        return QStringLiteral("useradd failed with %1").arg(added);
    if (runLocked(QStringLiteral("chpasswd"), {},
                  QByteArray(User) + ':' + QByteArray(Password) + '\n') != 0)
        return QStringLiteral("chpasswd failed");
    return QString();
}

QString VsftpdServer::start()
{
    if (::geteuid() != 0)
        return QStringLiteral("vsftpd needs root");
    if (!QFileInfo(Binary).isExecutable())
        return QStringLiteral("vsftpd is missing (install vsftpd)");
    if (!m_work.isValid())
        return QStringLiteral("no temporary folder");
    if (const QString why = ensureUser(); !why.isEmpty())
        return why;

    // The user must be able to reach its folder through ours.
    QFile::setPermissions(m_work.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                             QFile::ExeGroup);
    QDir().mkpath(root());
    QDir().mkpath(QStringLiteral("/var/run/vsftpd/empty"));
    QProcess::execute(QStringLiteral("chown"), {QLatin1String(User), root()});

    // A port that was free a moment ago may be taken by the time vsftpd
    // binds it: a few tries.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freePort();
        const QString conf = QDir(m_work.path()).filePath(QStringLiteral("vsftpd.conf"));
        QFile file(conf);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("cannot write ") + conf;
        QStringList lines = {
            QStringLiteral("listen=YES"),
            QStringLiteral("listen_ipv6=NO"),
            QStringLiteral("listen_address=127.0.0.1"),
            QStringLiteral("listen_port=%1").arg(m_port),
            QStringLiteral("background=NO"),
            QStringLiteral("anonymous_enable=NO"),
            QStringLiteral("local_enable=YES"),
            QStringLiteral("write_enable=YES"),
            QStringLiteral("local_umask=022"),
            QStringLiteral("local_root=") + root(),
            // The user sees its folder as "/", as on a web host.
            QStringLiteral("chroot_local_user=YES"),
            QStringLiteral("allow_writeable_chroot=YES"),
            QStringLiteral("pasv_enable=YES"),
            QStringLiteral("pasv_address=127.0.0.1"),
            QStringLiteral("seccomp_sandbox=NO"),
            QStringLiteral("xferlog_enable=YES"),
            QStringLiteral("log_ftp_protocol=YES"),
            QStringLiteral("vsftpd_log_file=") +
                QDir(m_work.path()).filePath(QStringLiteral("vsftpd.log")),
            QStringLiteral("pam_service_name=") + PamService,
            QStringLiteral("secure_chroot_dir=/var/run/vsftpd/empty"),
            QStringLiteral("userlist_enable=NO"),
        };
        lines += m_extraConfig;
        file.write(lines.join(u'\n').toUtf8() + '\n');
        file.close();
        QFile::setPermissions(conf, QFile::ReadOwner | QFile::WriteOwner);

        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(Binary, {conf});
        if (waitUntilAnswering())
            return QString();
        const QByteArray output = m_process.readAll();
        stop();
        if (!output.contains("Address already in use"))
            return QStringLiteral("vsftpd did not start: ") + QString::fromLocal8Bit(output);
    }
    return QStringLiteral("vsftpd found no free port");
}

bool VsftpdServer::waitUntilAnswering()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && m_process.state() != QProcess::NotRunning) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(500) && probe.waitForReadyRead(2000) &&
            probe.readLine().startsWith("220"))
            return true;
        m_process.waitForFinished(50);
    }
    return false;
}

void VsftpdServer::stop()
{
    stopServer(m_process);
}
