// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpReplyReader.h"

namespace {

// The code at the start of a line, or 0 when the line does not start with one.
int leadingCode(const QByteArray &line)
{
    if (line.size() < 3)
        return 0;
    const char a = line[0], b = line[1], c = line[2];
    if (a < '1' || a > '5' || b < '0' || b > '9' || c < '0' || c > '9')
        return 0;
    return (a - '0') * 100 + (b - '0') * 10 + (c - '0');
}

} // namespace

bool FtpReplyReader::feed(const QByteArray &bytes)
{
    if (m_broken)
        return false;
    m_buffer.append(bytes);
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', start);
        if (end < 0)
            break;
        // Lines end in CR LF; a bare LF is taken as well, as many clients do.
        qsizetype length = end - start;
        if (length > 0 && m_buffer[end - 1] == '\r')
            --length;
        if (!takeLine(m_buffer.mid(start, length))) {
            m_broken = true;
            m_buffer.clear();
            return false;
        }
        start = end + 1;
    }
    m_buffer.remove(0, start);
    // An unfinished line that is already too long will not get shorter; give
    // up now rather than buffering whatever the server keeps sending.
    if (m_buffer.size() > MaxLineLength + 1) {
        m_broken = true;
        m_buffer.clear();
        return false;
    }
    return true;
}

bool FtpReplyReader::takeLine(QByteArray line)
{
    if (line.size() > MaxLineLength)
        return false;
    const int code = leadingCode(line);
    const char separator = line.size() > 3 ? line[3] : ' ';

    if (m_multiLineCode != 0) {
        if (code == m_multiLineCode && line.size() > 3 && separator == ' ') {
            m_ready.append({code, QString::fromLatin1(line)});
            m_multiLineCode = 0;
        }
        return true;
    }

    if (code == 0 || (separator != ' ' && separator != '-'))
        return false;
    if (separator == '-')
        m_multiLineCode = code;
    else
        m_ready.append({code, QString::fromLatin1(line)});
    return true;
}
