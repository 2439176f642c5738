// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// What the user is told about a photo before a copy for the web is offered:
// its size on disk and on screen, and whether it holds the place where it
// was taken.
struct PhotoFacts {
    qint64 bytes = 0;
    QSize pixels;             // as it is shown: turned by its orientation
    bool hasLocation = false; // a GPS position in its metadata
    QByteArray format;        // as Qt names it ("jpeg", "png", "webp"), or "heif"
    int frames = 1;           // an animation's frames, or a HEIF file's pictures

    // Reads a photo's header and metadata, not its pixels. A file that
    // cannot be read gives empty facts.
    static PhotoFacts read(const QString &path);

    // A photo too large for a page, or one that tells where it was taken.
    bool worthPreparing() const;

    static constexpr int kLargestSide = 1600;
    static constexpr qint64 kLargestFile = 1000 * 1000;
};
