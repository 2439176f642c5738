// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "publish/ftp/FtpReply.h"

#include <QByteArray>
#include <QList>

// Cuts the bytes of the control connection into replies (RFC 959, 4.2).
// A multi-line reply starts with "NNN-" and ends only on a line that starts
// with the same three digits followed by a blank; lines in between may say
// anything, other codes included. Anything that is not a reply, and a line
// longer than MaxLineLength, breaks the stream for good.
class FtpReplyReader {
public:
    static constexpr qsizetype MaxLineLength = 16384;

    // Takes received bytes. False once the stream is broken.
    bool feed(const QByteArray &bytes);

    bool hasReply() const { return !m_ready.isEmpty(); }
    FtpReply takeReply() { return m_ready.takeFirst(); }
    bool isBroken() const { return m_broken; }
    // Nothing held: no reply waiting to be taken, no line or multi-line
    // reply begun.
    bool isIdle() const { return m_buffer.isEmpty() && m_ready.isEmpty() && m_multiLineCode == 0; }

private:
    bool takeLine(QByteArray line);

    QByteArray m_buffer;
    QList<FtpReply> m_ready;
    int m_multiLineCode = 0; // the code of the multi-line reply under way, 0 when none
    bool m_broken = false;
};
