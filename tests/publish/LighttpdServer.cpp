// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/LighttpdServer.h"

#include "tests/publish/StopServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

const QString Binary = QStringLiteral("/usr/sbin/lighttpd");

} // namespace

LighttpdServer::~LighttpdServer()
{
    stopServer(m_process);
}

QString LighttpdServer::root() const
{
    return QDir(m_work.path()).filePath(QStringLiteral("root"));
}

QString LighttpdServer::start(const QString &pemFile)
{
    if (!QFileInfo(Binary).isExecutable())
        return QStringLiteral("lighttpd is missing (install lighttpd)");
    if (!pemFile.isEmpty() &&
        !QFileInfo::exists(QStringLiteral("/usr/lib/lighttpd/mod_openssl.so")))
        return QStringLiteral("lighttpd has no TLS (install lighttpd-mod-openssl)");
    QDir().mkpath(root());
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
    }
    QString conf = QStringLiteral("server.document-root = \"%1\"\nserver.bind = \"127.0.0.1\"\n"
                                  "server.port = %2\nserver.errorlog = \"%3/error.log\"\n"
                                  "index-file.names = ( \"index.html\", \"index.htm\" )\n"
                                  "mimetype.assign = ( \".htm\" => \"text/html\" )\n")
                       .arg(root(), QString::number(m_port), m_work.path());
    if (!pemFile.isEmpty())
        conf += QStringLiteral("server.modules += ( \"mod_openssl\" )\nssl.engine = \"enable\"\n"
                               "ssl.pemfile = \"%1\"\n")
                    .arg(pemFile);
    const QString confPath = QDir(m_work.path()).filePath(QStringLiteral("lighttpd.conf"));
    QFile file(confPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(conf.toUtf8()) < 0)
        return QStringLiteral("cannot write ") + confPath;
    file.close();

    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(Binary, {QStringLiteral("-D"), QStringLiteral("-f"), confPath});
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && m_process.state() != QProcess::NotRunning) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(500))
            return QString();
        m_process.waitForFinished(50);
    }
    const QString output = QString::fromLocal8Bit(m_process.readAll());
    stopServer(m_process);
    return QStringLiteral("lighttpd did not start: ") + output;
}
