// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// One complete server reply. For a multi-line reply the text is that of its
// last line, the one that carries the code and a blank: nothing the client
// does needs the lines in between, and not keeping them bounds what a server
// can make us hold.
struct FtpReply {
    int code = 0;
    QString text; // the whole last line, code included, without CR LF

    bool isPreliminary() const { return code >= 100 && code < 200; }
};
