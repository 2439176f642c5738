// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The text of a plain-text file brought into the central text. A file that
// is valid UTF-8 is read as UTF-8 (a byte-order mark is dropped); any other
// file is read as Windows-1252, the code page most such texts were written
// in. CR LF, LF and CR all end a line; the result ends its lines with LF.
// Nothing else is changed: no characters are dropped and no length is cut.
QString decodeImportedText(const QByteArray &bytes);

// The number of characters of the longest line of a text whose lines end
// with LF, as decodeImportedText() gives it; 0 for an empty text.
qsizetype longestLineLength(QStringView text);
