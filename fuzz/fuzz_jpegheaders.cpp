// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds on a JPEG file's headers, on any bytes: the walk always ends,
// a file that does not start as a JPEG is left to its reader, and headers
// judged in bounds hold a frame header and a start of scan within the
// bounds.

#include "photo/JpegHeaders.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const bool inBounds = JpegHeaders::endInBounds(file);
    const bool looksLikeJpeg = bytes.startsWith("\xFF\xD8");
    if (!looksLikeJpeg && !inBounds)
        std::abort();
    if (looksLikeJpeg && inBounds && !bytes.contains("\xFF\xDA"))
        std::abort();
    // What follows the headers never changes the answer.
    if (looksLikeJpeg && inBounds) {
        bytes += QByteArray(1000, '\xFF');
        QBuffer longer(&bytes);
        longer.open(QIODevice::ReadOnly);
        if (!JpegHeaders::endInBounds(longer))
            std::abort();
    }
    return 0;
}
