// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PictureSize.h"

#include <QFile>

namespace {

int bigEndian16(const QByteArray &bytes, int at)
{
    return (quint8(bytes[at]) << 8) | quint8(bytes[at + 1]);
}

QSize gifSize(const QByteArray &header)
{
    // The logical screen: two little-endian 16-bit numbers after the signature.
    return {quint8(header[6]) | (quint8(header[7]) << 8),
            quint8(header[8]) | (quint8(header[9]) << 8)};
}

// A camera's headers take a few dozen segments and well under a megabyte;
// a file whose frame comes later (200,000 small metadata segments, say) is
// crafted, and has no size worth the time it takes to walk.
constexpr int kMostSegments = 1000;
constexpr qint64 kMostBytes = 16ll * 1024 * 1024;

int tiffNumber(QByteArrayView tiff, qsizetype at, int bytes, bool bigEndian)
{
    int value = 0;
    for (int i = 0; i < bytes; ++i) {
        const int byte = quint8(tiff[at + (bigEndian ? i : bytes - 1 - i)]);
        value = (value << 8) | byte;
    }
    return value;
}

// The orientation tag of an EXIF segment's first directory, 1 (upright)
// when there is none or the segment does not hold one that can be read.
int exifOrientation(QByteArrayView segment)
{
    if (!segment.startsWith(QByteArrayView("Exif\0\0", 6)))
        return 1;
    const QByteArrayView tiff = segment.sliced(6);
    if (tiff.size() < 8 || !(tiff.startsWith("II") || tiff.startsWith("MM")))
        return 1;
    const bool big = tiff[0] == 'M';
    const qsizetype directory = qsizetype(quint32(tiffNumber(tiff, 4, 4, big)));
    if (directory < 8 || directory > tiff.size() - 2)
        return 1;
    const int entries = tiffNumber(tiff, directory, 2, big);
    for (int entry = 0; entry < entries; ++entry) {
        const qsizetype at = directory + 2 + qsizetype(entry) * 12;
        if (at + 12 > tiff.size())
            return 1;
        if (tiffNumber(tiff, at, 2, big) == 0x0112)
            return tiffNumber(tiff, at + 8, 2, big); // a SHORT, first in its field
    }
    return 1;
}

// Walks the segments up to the first start-of-frame, which holds the size.
// The segments before it (ICC profiles, XMP) are skipped by their lengths,
// never read, but for the EXIF segment's orientation: browsers turn the
// picture as it says, and the page must give the size they show.
QSize jpegSize(QIODevice &file)
{
    file.seek(2);
    int orientation = 1;
    for (int segment = 0; segment < kMostSegments && file.pos() < kMostBytes && !file.atEnd();
         ++segment) {
        QByteArray marker = file.read(2);
        if (marker.size() < 2 || quint8(marker[0]) != 0xFF)
            return {};
        while (quint8(marker[1]) == 0xFF) { // fill bytes before a marker
            const QByteArray next = file.read(1);
            if (next.isEmpty())
                return {};
            marker[1] = next[0];
        }
        const quint8 code = quint8(marker[1]);
        if (code == 0x01 || (code >= 0xD0 && code <= 0xD7))
            continue; // markers without a length
        const QByteArray length = file.read(2);
        if (length.size() < 2 || bigEndian16(length, 0) < 2)
            return {};
        const bool startOfFrame =
            code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        if (startOfFrame) {
            const QByteArray frame = file.read(5); // precision, height, width
            if (frame.size() < 5)
                return {};
            const QSize stored(bigEndian16(frame, 3), bigEndian16(frame, 1));
            return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
        }
        if (code == 0xD9 || code == 0xDA)
            return {};
        const int rest = bigEndian16(length, 0) - 2;
        if (code == 0xE1 && orientation == 1) {
            const QByteArray segment = file.read(rest);
            if (segment.size() < rest)
                return {};
            orientation = exifOrientation(segment);
        } else if (!file.seek(file.pos() + rest)) {
            return {};
        }
    }
    return {};
}

} // namespace

QSize pictureSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return pictureSize(file);
}

QSize pictureSize(QIODevice &file)
{
    const QByteArray header = file.read(10);
    QSize size;
    if (header.size() == 10 && (header.startsWith("GIF87a") || header.startsWith("GIF89a")))
        size = gifSize(header);
    else if (header.startsWith("\xFF\xD8"))
        size = jpegSize(file);
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}
