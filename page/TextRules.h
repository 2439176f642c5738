// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// The page's own idea of white space: characters with codes 0 to 32 only.
// QString::trimmed() is not this rule: it keeps control characters such as
// U+0001 and removes U+00A0 and other Unicode spaces, which the user may mean.
QString trimmedText(QStringView text);

// True when nothing is left of the text after trimmedText().
bool isBlank(QStringView text);
