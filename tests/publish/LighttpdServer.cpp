// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/LighttpdServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString startLighttpd(QProcess &process, const QString &work, bool https, quint16 &port)
{
    const QString binary = "/usr/sbin/lighttpd";
    if (!QFileInfo(binary).isExecutable())
        return "lighttpd is missing (install lighttpd lighttpd-mod-openssl)";
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    port = probe.serverPort();
    probe.close();
    QString conf =
        QStringLiteral("server.document-root = \"%1/root\"\nserver.bind = \"127.0.0.1\"\n"
                       "server.port = %2\nserver.errorlog = \"%1/error.log\"\n"
                       "index-file.names = ( \"index.html\", \"index.htm\" )\n")
            .arg(work, QString::number(port));
    if (https)
        conf += QStringLiteral("server.modules += ( \"mod_openssl\" )\nssl.engine = \"enable\"\n"
                               "ssl.pemfile = \"%1/crt\"\nssl.privkey = \"%1/key\"\n")
                    .arg(work);
    if (!writeFile(work + "/lighttpd.conf", conf.toUtf8()) || !QDir().mkpath(work + "/root"))
        return "cannot write in " + work;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(binary, {"-D", "-f", work + "/lighttpd.conf"});
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && process.state() != QProcess::NotRunning) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(500))
            return QString();
        process.waitForFinished(50);
    }
    return "lighttpd did not start: " + QString::fromLocal8Bit(process.readAll());
}
