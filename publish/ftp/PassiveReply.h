// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The six numbers of a 227 reply: h1,h2,h3,h4,p1,p2, taken from between the
// parentheses or, when there are none, from after the last blank.
struct PassiveReply {
    quint8 host[4] = {};
    quint16 port = 0;

    // Nothing when the text does not hold six numbers from 0 to 255 or when
    // the port is 0.
    static std::optional<PassiveReply> parse(const QString &text);

    // The port of a 229 reply (RFC 2428): "(|||port|)", where any printable
    // character may stand for "|". Nothing when it is not that, or is 0.
    static std::optional<quint16> parseExtended(const QString &text);
};
