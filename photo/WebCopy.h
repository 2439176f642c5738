// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QMap>
#include <QString>

// The copy of a photo that goes on the page: NAME_web.jpg beside the
// original (or NAME_web-2.jpg, ... when the user has a file of that name), at most 1280 pixels on
// its longer side (never enlarged), turned as its orientation tag says, in sRGB, at JPEG quality
// 85, and with no metadata at all (no EXIF, no GPS position, no comment, no colour profile). The
// original is only read.
namespace WebCopy {

constexpr int kLongerSide = 1280;
constexpr int kQuality = 85;
// Larger pictures are refused before any pixel is decoded: a small file can
// claim any size in its header.
constexpr qint64 kMostPixels = 100'000'000;

// The copies this program wrote, by bare name, with the SHA-256 of the bytes
// it wrote.
using MadeCopies = QMap<QString, QByteArray>;

struct Outcome {
    QString copyPath;  // empty when no copy was written
    QString error;     // the box shown instead, when none was
    QByteArray sha256; // of the copy's bytes
};

// NAME_web.jpg in the folder of the original.
QString copyPathFor(const QString &original);

// Where the copy goes without replacing a file of the user's: NAME_web.jpg
// when nothing has that name or it is one of the copies made, unchanged;
// otherwise the first of NAME_web-2.jpg, NAME_web-3.jpg, ... that is so. A
// folder or a link named NAME_web.jpg keeps that name: prepare() refuses it
// and says why.
QString copyPathFor(const QString &original, const MadeCopies &made);

// The SHA-256 of a file's bytes; empty when it cannot be read or is larger
// than any copy made here could be.
QByteArray sha256Of(const QString &path);

// Writes the copy to target (NAME_web.jpg unless given), replacing an
// earlier file; the copy appears complete or not at all. The original may be
// a JPEG, HEIC, HEIF, PNG or WebP picture, told by its bytes; its transparent
// parts take the background colour, and an animation gives its first frame.
// Takes a while for a large photo and touches no widget, so it can run on
// any thread.
Outcome prepare(const QString &original, const QString &target = {},
                const QColor &background = Qt::white);

} // namespace WebCopy
