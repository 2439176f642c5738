// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/ftp/FtpCommand.h"

std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument)
{
    QByteArray line(verb);
    if (argument.isNull())
        return line;
    if (argument.contains(u'\r') || argument.contains(u'\n') || argument.contains(QChar(0)) ||
        !QStringView(argument).isValidUtf16())
        return std::nullopt;
    line += ' ';
    line += argument.toUtf8();
    return line;
}
