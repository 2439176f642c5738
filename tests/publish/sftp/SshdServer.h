// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// OpenSSH's server for the tests that publish by SFTP: started on a free
// port of 127.0.0.1 with a host key, configuration and log of its own, the
// SFTP server built into it, and stopped by its own process id. Every user
// logs in with the keys of one file, authorizedKeys().
//
//     SshdServer server;
//     if (const QString why = server.start(); !why.isEmpty())
//         QSKIP(qPrintable(why));
//     ... publish to 127.0.0.1:server.port() ...
//     server.log()     // sshd's own log
//     server.sftpLog() // the SFTP requests

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SshdServer {
public:
    ~SshdServer();

    // The command sshd runs for SFTP, before start(); OpenSSH's sftp-server,
    // logging to sftpLog(), when none is given.
    void setSubsystem(const QString &command) { m_subsystem = command; }
    // Lines added to the configuration (a choice of ciphers, say), before start().
    void setExtraConfig(const QString &lines) { m_extraConfig = lines; }
    // Empty once the server answers; otherwise why it could not start.
    QString start();
    void stop();

    quint16 port() const { return m_port; }
    qint64 pid() const { return m_process.processId(); }
    QString workFolder() const { return m_work.path(); }
    QString authorizedKeys() const;
    // The host key's public half, as a line of known_hosts would hold it.
    QByteArray hostKeyEntry() const;
    QString log();
    // What OpenSSH's sftp-server logged: every request it was sent.
    QString sftpLog() const;

    // Runs a program to its end; its standard output, or empty on failure.
    static QByteArray run(const QString &program, const QStringList &arguments,
                          const QByteArray &input = {});

private:
    QTemporaryDir m_work;
    QProcess m_process;
    QString m_log;
    quint16 m_port = 0;
    QString m_subsystem;
    QString m_extraConfig;
};
