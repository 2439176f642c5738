// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Debian's lighttpd serving root() on a free port of 127.0.0.1, with its own
// configuration in a temporary folder, stopped by its own process id. With a
// PEM file (certificate and key) it speaks HTTPS only. index.html is looked
// for before index.htm, as on many hosts.
//
//     LighttpdServer server;
//     if (const QString why = server.start(); !why.isEmpty())
//         QSKIP(qPrintable(why));
//     ... put files in server.root(), fetch http://127.0.0.1:server.port()/ ...

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class LighttpdServer {
public:
    ~LighttpdServer();

    // Empty once the server answers; otherwise why it could not start.
    QString start(const QString &pemFile = QString());
    quint16 port() const { return m_port; }
    QString root() const;

private:
    QTemporaryDir m_work;
    QProcess m_process;
    quint16 m_port = 0;
};
