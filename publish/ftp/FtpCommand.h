// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes of one command line, without its CR LF. Arguments (user name,
// password, folder and file names) travel in UTF-8, as RFC 2640 recommends:
// that is how servers name such files, and how a browser asks for the name
// the page refers to ("Peña.gif" as Pe%C3%B1a.gif), whatever the page's own
// code page. ASCII is the same in both. Nothing when the argument cannot be
// sent as it is: a CR, LF or NUL would end the line early and let the rest
// be read as another command, and half of a UTF-16 pair is no character at
// all.
std::optional<QByteArray> ftpCommand(const char *verb, const QString &argument = QString());
