// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Debian's vsftpd for the tests that need a real server: started on a free
// port of 127.0.0.1 with a folder, configuration and log of its own, and
// stopped by its own process id. It needs root: vsftpd only reads a
// root-owned configuration. Every server logs in one system user, created
// when missing and never removed, so that servers of tests running at the
// same time can share it; each one sends that user to its own folder.
//
//     VsftpdServer server;
//     if (const QString why = server.start(); !why.isEmpty())
//         QSKIP(qPrintable(why));
//     ... publish to 127.0.0.1:server.port() as VsftpdServer::User,
//         VsftpdServer::Password; files arrive in server.root() ...
//     server.log() // vsftpd's own log: commands, "OK UPLOAD", "FAIL UPLOAD"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class VsftpdServer {
public:
    static constexpr const char *User = "brenzo-ftp-test";
    static constexpr const char *Password = "prueba-brenzo";

    // Lines added to the configuration (for TLS, say: "ssl_enable=YES", ...).
    explicit VsftpdServer(QStringList extraConfig = {});
    ~VsftpdServer();

    // Empty once the server answers; otherwise why it could not start.
    QString start();
    void stop();

    quint16 port() const { return m_port; }
    // The folder the user lands in after logging in, "/" to the user.
    QString root() const;
    // The folder of the configuration and the log; extra files (a
    // certificate, say) may go here before start().
    QString workFolder() const { return m_work.path(); }
    QString log() const;

private:
    QString ensureUser();
    bool waitUntilAnswering();

    QStringList m_extraConfig;
    QTemporaryDir m_work;
    QProcess m_process;
    quint16 m_port = 0;
};
