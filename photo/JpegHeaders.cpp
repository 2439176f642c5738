// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/JpegHeaders.h"

#include "photo/JpegMarkers.h"

using namespace JpegMarkers;

namespace {

// The codes that carry no length: restart markers, the start, and a zero,
// which marks no segment at all.
bool standsAlone(uchar code)
{
    return code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= kStart);
}

// Every start of frame, baseline to lossless; C4, C8 and CC are tables.
bool startsFrame(uchar code)
{
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

} // namespace

bool JpegHeaders::endInBounds(QIODevice &file)
{
    char start[2];
    if (!file.seek(0) || file.read(start, 2) != 2 || uchar(start[0]) != kMarker ||
        uchar(start[1]) != kStart)
        return true;
    bool frame = false;
    char byte = 0;
    for (int segment = 0; segment < kMostSegments; ++segment) {
        // As the decoder does, stray bytes before a marker and fill bytes
        // after its first are skipped.
        do {
            if (file.pos() > kMostBytes || !file.getChar(&byte))
                return false;
        } while (uchar(byte) != kMarker);
        do {
            if (file.pos() > kMostBytes || !file.getChar(&byte))
                return false;
        } while (uchar(byte) == kMarker);
        const uchar code = uchar(byte);
        if (code == kScan)
            return frame;
        if (code == kEnd)
            return false;
        if (standsAlone(code))
            continue;
        frame = frame || startsFrame(code);
        uchar length[2];
        if (file.read(reinterpret_cast<char *>(length), 2) != 2)
            return false;
        const int size = (length[0] << 8) | length[1];
        if (size < 2 || !file.seek(file.pos() + size - 2))
            return false;
    }
    return false;
}
