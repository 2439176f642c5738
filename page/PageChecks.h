// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"

#include <QString>

// The e-mail test of the last data page: the text as typed holds "@" and "."
// somewhere, and trimmed it has at least five characters. Nothing else.
bool isValidEmail(const QString &typed);

// The page file name as it is tested and written: trimmed, with A to Z
// lowered (no other letter changes).
QString normalizedPageFileName(const QString &typed);

// A normalised page file name passes when it holds ".htm" and none of
// / \ : * ? ; < > " nor a blank nor a control character (below 0x20, and
// 0x7F).
bool isValidPageFileName(const QString &normalized);

// True when a regular file (not a folder) of that name lies in the folder.
bool pageFileExists(const QString &folder, const QString &fileName);

// What the last data page's check concludes before anything is written.
enum class Page8Verdict {
    BadEmail,        // show PageMessages::badEmail(), focus the e-mail field
    BadPageFileName, // show PageMessages::badPageFileName(), focus the file name
    AskReplace,      // the page file exists: ask PageMessages::replaceQuestion()
    Ready,           // nothing in the way: write the page
};

// Runs the checks in their order, stopping at the first failure. Once the
// e-mail passes, settings.txtHTML holds the normalised name, whatever follows.
Page8Verdict checkPage8(PageSettings &settings, const QString &startupFolder);
