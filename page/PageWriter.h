// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ColourScheme.h"
#include "CreationStamp.h"
#include "PageSettings.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// The whole home page, byte for byte as it goes into the file: ISO-8859-1,
// every line ending in CR LF, the user's text inserted unescaped.
QByteArray RenderPage(const PageSettings &settings, const ColourScheme &scheme,
                      const QString &stamp);

// Writes the home page to path (through SavePageFile). The document is written to a temporary file
// beside the target and moved over it only once complete, so a failure leaves
// an earlier page exactly as it was. An existing target that the user may not
// write (a read-only file) is a failure too. Returns true on success.
// The file step of WritePage: the bytes written to path through a temporary
// file, never over a read-only page.
bool SavePageFile(const QString &path, const QByteArray &bytes);

bool WritePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
               const PageClock &clock = systemClock(), const QLocale &locale = QLocale::system());
