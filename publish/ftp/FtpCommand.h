#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes of one command line, without its CR LF. Commands travel in
// ISO-8859-1, the program's text. Nothing when the argument cannot be sent
// as it is: a CR, LF or NUL would end the line early and let the rest be
// read as another command, and a character outside ISO-8859-1 would arrive
// as some other character.
std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument = QString());
