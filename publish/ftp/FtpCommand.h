#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes of one command line, without its CR LF. Commands travel in
// ISO-8859-1, the program's text. An argument with a character ISO-8859-1
// cannot hold (a file named in Greek or Chinese letters) travels in UTF-8
// instead: that is how servers name such files, and how a browser asks for
// the name the page refers to. Nothing when the argument cannot be sent as
// it is: a CR, LF or NUL would end the line early and let the rest be read
// as another command, and half of a UTF-16 pair is no character at all.
std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument = QString());
