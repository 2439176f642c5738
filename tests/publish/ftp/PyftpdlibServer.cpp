// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/ftp/PyftpdlibServer.h"

#include "tests/publish/StopServer.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

PyftpdlibServer::PyftpdlibServer(QObject *parent) : QObject(parent)
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, [this] {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("PORT ")))
                m_port = quint16(line.mid(5).toUInt());
            else if (line.startsWith(QLatin1String("CMD ")))
                m_commands.append(line.mid(4));
            else if (line.startsWith(QLatin1String("LOG ")))
                m_log.append(line.mid(4));
        }
    });
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

PyftpdlibServer::~PyftpdlibServer()
{
    stopServer(m_process, 10000);
}

QString PyftpdlibServer::start(const QString &host, int readLimit)
{
    // Debian's pyftpdlib belongs to the system's interpreter, whatever
    // "python3" on the PATH may be.
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo(python).isExecutable())
        return QStringLiteral("/usr/bin/python3 is missing (install python3-pyftpdlib)");
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import pyftpdlib")});
    if (!probe.waitForFinished(30000) || probe.exitCode() != 0)
        return QStringLiteral("pyftpdlib is missing (install python3-pyftpdlib)");

    m_process.start(python,
                    {QStringLiteral(BRENZO_REAL_FTP_SERVER), m_root.path(), QLatin1String(User),
                     QLatin1String(Password), host, QString::number(readLimit)});
    if (!QTest::qWaitFor(
            [this] { return m_port != 0 || m_process.state() == QProcess::NotRunning; }, 30000) ||
        m_port == 0)
        return QStringLiteral("pyftpdlib did not start on ") + host;
    return QString();
}
