#include "FtpCommand.h"

namespace {
bool fitsLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}
} // namespace

std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument)
{
    QByteArray line(verb);
    if (argument.isNull())
        return line;
    if (argument.contains(u'\r') || argument.contains(u'\n') || argument.contains(QChar(0)) ||
        !QStringView(argument).isValidUtf16())
        return std::nullopt;
    line += ' ';
    line += fitsLatin1(argument) ? argument.toLatin1() : argument.toUtf8();
    return line;
}
