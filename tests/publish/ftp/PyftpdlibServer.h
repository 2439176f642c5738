// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Debian's pyftpdlib (real_ftp_server.py) for the tests: started on a free
// port of the given loopback address, serving a temporary folder, stopped by
// its own process id. It records the commands it receives and its own log.

#include <QHostAddress>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class PyftpdlibServer : public QObject {
    Q_OBJECT

public:
    static constexpr const char *User = "ana";
    static constexpr const char *Password = "secreto";

    explicit PyftpdlibServer(QObject *parent = nullptr);
    ~PyftpdlibServer() override;

    // Empty once the server listens; otherwise why it could not start.
    // readLimit, in bytes per second, slows its data connections down.
    QString start(const QString &host = QStringLiteral("127.0.0.1"), int readLimit = 0);

    quint16 port() const { return m_port; }
    QString root() const { return m_root.path(); }
    QStringList commands() const { return m_commands; }
    QStringList log() const { return m_log; }

private:
    QTemporaryDir m_root;
    QProcess m_process;
    QStringList m_commands;
    QStringList m_log;
    quint16 m_port = 0;
};
