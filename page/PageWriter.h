// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/ColourScheme.h"
#include "page/CreationStamp.h"
#include "page/PageSettings.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// The whole home page, byte for byte as it goes into the file: ISO-8859-1,
// every line ending in CR LF, the user's text inserted unescaped.
QByteArray RenderPage(const PageSettings &settings, const ColourScheme &scheme,
                      const QString &stamp);

// The file step of every page writer: the bytes written to path through a
// temporary file beside it, moved over it only once complete, so a failure
// leaves an earlier page exactly as it was. An existing target that the user
// may not write (a read-only file) or that is a link is a failure too.
// Returns true on success.
bool SavePageFile(const QString &path, const QByteArray &bytes);

// Writes the home page to path through SavePageFile.
bool WritePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
               const PageClock &clock = systemClock(), const QLocale &locale = QLocale::system());
