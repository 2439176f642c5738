// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

// Where the page writer takes "now" from; tests pin it.
using PageClock = std::function<QDateTime()>;

// The local time of the machine.
PageClock systemClock();

// The locale's long time format without its time-zone token ("H:mm:ss (t)"
// becomes "H:mm:ss"): the page's stamp shows the time as the user reads it.
QString timeFormatWithoutZone(const QString &longTimeFormat);

// The stamp of the page's header comment: the short date, one blank and the
// long time without zone; at exactly 00:00:00 only the date.
QString creationStamp(const QDateTime &when, const QLocale &locale);
