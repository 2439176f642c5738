// SPDX-License-Identifier: GPL-3.0-or-later
// The TIFF structure cut out of a HEIF file's EXIF block, for any block: it
// lies inside the block and starts where the block's count says.

#include "photo/ExifBlock.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView block(data, qsizetype(size));
    const QByteArrayView tiff = tiffOfHeifExif(block);
    if (tiff.isEmpty())
        return 0;
    if (tiff.size() < 8 || tiff.data() < block.data() + 4 ||
        tiff.data() + tiff.size() != block.data() + block.size())
        std::abort();
    const size_t skip = (size_t(data[0]) << 24) | (size_t(data[1]) << 16) | (size_t(data[2]) << 8) |
                        size_t(data[3]);
    if (tiff.data() != block.data() + 4 + skip)
        std::abort();
    return 0;
}
