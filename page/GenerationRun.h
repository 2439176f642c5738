// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/CreationStamp.h"
#include "page/PageSettings.h"
#include "page/PublishList.h"

#include <QList>
#include <QLocale>
#include <QString>

struct GenerationResult {
    bool written = false;        // the page file is complete on disk
    QList<PublishEntry> entries; // rebuilt after a failed write too
};

// Writes the page named by settings.txtHTML (already normalised by the
// checks) into the start-up folder, the exact page or, when chkMovil is
// ticked, the page adapted to phones, and builds the list of files to publish.
// The caller shows the pointer and the failure message.
GenerationResult runGeneration(const PageSettings &settings, const QString &startupFolder,
                               const PageClock &clock = systemClock(),
                               const QLocale &locale = QLocale::system());
