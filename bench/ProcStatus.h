// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the kernel says about this process: peak and current resident memory
// and the number of open descriptors (sockets and files alike).

#include <QByteArray>
#include <QDir>
#include <QFile>

inline qint64 procStatusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

inline qint64 peakResidentKiB()
{
    return procStatusKiB("VmHWM");
}
inline qint64 residentKiB()
{
    return procStatusKiB("VmRSS");
}

inline qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
        .size();
}
