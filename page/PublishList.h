// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"

#include <QList>
#include <QString>
#include <QStringList>

// One file that publishing uploads: its bare name in the start-up folder (and
// on the server), and the row the finish page shows for it.
struct PublishEntry {
    QString fileName;
    QString finishRow;

    bool operator==(const PublishEntry &) const = default;
};

// The files to publish, in their fixed order: the page, the background
// picture, the sound, pictures 1 to 3 and the badge. The background picture
// and picture 2 follow the choices, not the page: they are listed even when
// the page leaves them out. Duplicates are kept.
QList<PublishEntry> publishList(const PageSettings &settings, const QString &pageFileName);

// The bare names of the entries, in order.
QStringList publishFileNames(const QList<PublishEntry> &entries);

// The finish page's rows of the entries, in order.
QStringList finishRows(const QList<PublishEntry> &entries);
