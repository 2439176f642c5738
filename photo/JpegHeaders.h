// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>

// Whether a JPEG file's headers (the segments before its first scan) hold a
// frame header and end soon enough. Qt's reader reads every segment before
// the picture, metadata and comments alike, and keeps what it reads: a
// crafted file of 200,000 small metadata segments holds it for over a
// minute, one of 4,800 comments of 64 KB takes 1.5 GB. Such a file is refused
// before any reader sees it; a camera's headers (EXIF with its thumbnail,
// colour profiles, XMP) take a few dozen segments and well under a megabyte.
namespace JpegHeaders {

constexpr qint64 kMostBytes = 16ll * 1024 * 1024;
constexpr int kMostSegments = 1000;

// Reads the device from its start. A file that does not start as a JPEG is
// not judged here (true): its own reader judges it.
bool endInBounds(QIODevice &file);

} // namespace JpegHeaders
