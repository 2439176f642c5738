// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

// Writes the bytes to the file, making its folder first.
bool writeFile(const QString &path, const QByteArray &bytes);

// Debian's lighttpd serving root/ of `work` on a free port of 127.0.0.1
// (HTTPS only, given crt and key in `work`), looking for index.html before
// index.htm. Empty once it answers; otherwise why not. The caller stops it
// by its process id (stopServer).
QString startLighttpd(QProcess &process, const QString &work, bool https, quint16 &port);
