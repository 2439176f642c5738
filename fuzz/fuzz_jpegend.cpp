// SPDX-License-Identifier: GPL-3.0-or-later
// The check that a JPEG file reaches its end marker, on any bytes: a file
// said to reach it holds the marker's two bytes, and whatever follows the
// end (a camera's video, say) never changes the answer.

#include "photo/JpegEnd.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView file(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!jpegReachesItsEnd(file))
        return 0;
    if (!file.contains(QByteArrayView("\xFF\xD9", 2)))
        std::abort();
    const QByteArray longer = file.toByteArray() + QByteArray("\x00\xFF\xD8", 3);
    if (!jpegReachesItsEnd(longer))
        std::abort();
    return 0;
}
