// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The copy of a photo that goes on the page: NAME_web.jpg beside the
// original, at most 1280 pixels on its longer side (never enlarged), turned
// as its orientation tag says, in sRGB, at JPEG quality 85, and with no
// metadata at all (no EXIF, no GPS position, no comment, no colour profile).
// The original is only read.
namespace WebCopy {

constexpr int kLongerSide = 1280;
constexpr int kQuality = 85;
// Larger pictures are refused before any pixel is decoded: a small file can
// claim any size in its header.
constexpr qint64 kMostPixels = 100'000'000;

struct Outcome {
    QString copyPath; // empty when no copy was written
    QString error;    // the box shown instead, when none was
};

// NAME_web.jpg in the folder of the original.
QString copyPathFor(const QString &original);

// Writes the copy, replacing an earlier one; the copy appears complete or not
// at all. Takes a while for a large photo and touches no widget, so it can
// run on any thread.
Outcome prepare(const QString &original);

} // namespace WebCopy
