// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether this process has loaded the system's TLS library. Only Linux says
// (through /proc); elsewhere the answer is always no.

#include <QFile>

inline bool tlsLibraryLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libssl");
}
