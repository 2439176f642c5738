// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/ColourScheme.h"
#include "page/CreationStamp.h"
#include "page/PageSettings.h"

#include <QByteArray>
#include <QLocale>
#include <QSize>
#include <QString>

#include <functional>

// The size of a picture beside the page, by its bare name; an empty size
// when it is not known.
using PictureSizes = std::function<QSize(const QString &name)>;

// The same page as RenderPage writes, section for section, for phones and
// today's browsers: HTML5 in UTF-8, layout and colours in a style sheet, a
// sound player the visitor starts, a scrolling text that stops when pointed
// at, touched or unwanted, and pictures that shrink to the screen. The
// user's texts are shown as typed (markup in them is escaped).
QByteArray RenderMobilePage(const PageSettings &settings, const ColourScheme &scheme,
                            const QString &stamp, const PictureSizes &sizes);

// Writes that page to path as WritePage does, the pictures' sizes read from
// the files beside it.
bool WriteMobilePage(const PageSettings &settings, const ColourScheme &scheme, const QString &path,
                     const PageClock &clock = systemClock(),
                     const QLocale &locale = QLocale::system());
