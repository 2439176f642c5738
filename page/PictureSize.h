// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QSize>
#include <QString>

// The width and height in pixels that a JPEG or GIF file shows, read from its
// header without decoding the picture; an empty size for a file that is
// missing, damaged or of another kind. A JPEG turned by its EXIF orientation
// (a phone's photo kept as it was taken) gives its size turned, as browsers
// show it.
QSize pictureSize(const QString &path);
// The same from an open device, read from its start.
QSize pictureSize(QIODevice &file);
