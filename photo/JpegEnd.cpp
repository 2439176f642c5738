// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/JpegEnd.h"

#include "photo/JpegMarkers.h"

using namespace JpegMarkers;

namespace {

bool standsAlone(uchar marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= kStart);
}
} // namespace

bool jpegReachesItsEnd(QByteArrayView file)
{
    const auto byte = [&file](qsizetype at) { return static_cast<uchar>(file[at]); };
    const qsizetype size = file.size();
    if (size < 4 || byte(0) != kMarker || byte(1) != kStart)
        return false;
    // The headers: each segment says its length, up to the first scan.
    qsizetype at = 2;
    bool scanFound = false;
    while (!scanFound && at + 4 <= size) {
        if (byte(at) != kMarker)
            return false;
        const uchar marker = byte(at + 1);
        if (marker == kMarker) {
            ++at; // fill byte
        } else if (standsAlone(marker)) {
            at += 2;
        } else if (marker == kEnd) {
            return false; // ends before any picture
        } else {
            scanFound = marker == kScan;
            at += 2 + ((byte(at + 2) << 8) | byte(at + 3));
        }
    }
    for (; scanFound && at + 1 < size; ++at) {
        if (byte(at) == kMarker && byte(at + 1) == kEnd)
            return true;
    }
    return false;
}
