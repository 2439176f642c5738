// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

// The width and height in pixels that a JPEG or GIF file declares in its
// header, read without decoding the picture; an empty size for a file that
// is missing, damaged or of another kind. A JPEG's EXIF orientation is not
// applied: the copies made for the web have it applied already.
QSize pictureSize(const QString &path);
