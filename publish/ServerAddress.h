// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What the user typed in the server box, already trimmed: "servidor",
// "servidor:puerto" or "[dirección IPv6]:puerto". A bare IPv6 address
// ("::1", more than one colon and no brackets) is a host without a port.
struct ServerAddress {
    QString host;
    quint16 port = 0; // 0 when none was given: the protocol's own
    QString error;    // why the server or its port cannot be used; empty when they can

    static ServerAddress parse(const QString &text);
};
