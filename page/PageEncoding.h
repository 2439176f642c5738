// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringView>

// Appends the text in the page's single-byte code page (ISO-8859-1). A
// character with no ISO-8859-1 form is written as a decimal character
// reference ("&#8364;" for the euro sign) so that the browser still shows it.
void appendPageText(QByteArray &out, QStringView text);
