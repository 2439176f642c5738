// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures: PNG files built into the program. They are read
// with the PNG decoder named and nothing else asked, so the first one shown
// does not load every picture plugin of the machine to find out which one
// knows the file (which costs a noticeable part of starting up). A picture
// that is missing gives an empty pixmap, as QPixmap does.
// On a screen of high density a picture that has a twice-size copy
// (NAME@2x.png) is read from it, so it is drawn sharp.
QPixmap artwork(const QString &resourcePath);
// On such a screen an icon also holds NAME@2x.png, the twice-size picture,
// when there is one.
QIcon artworkIcon(const QString &resourcePath);
