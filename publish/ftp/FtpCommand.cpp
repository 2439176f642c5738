#include "FtpCommand.h"

std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument)
{
    QByteArray line(verb);
    if (argument.isNull())
        return line;
    for (const QChar c : argument) {
        if (c == u'\r' || c == u'\n' || c == u'\0' || c.unicode() > 0xFF)
            return std::nullopt;
    }
    line += ' ';
    line += argument.toLatin1();
    return line;
}
