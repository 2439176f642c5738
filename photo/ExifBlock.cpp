// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/ExifBlock.h"

QByteArrayView tiffOfHeifExif(QByteArrayView block)
{
    if (block.size() < 4)
        return {};
    quint64 skip = 0;
    for (int at = 0; at < 4; ++at)
        skip = (skip << 8) | static_cast<uchar>(block[at]);
    const quint64 rest = quint64(block.size()) - 4;
    // A structure needs at least its eight-byte header.
    if (skip + 8 > rest)
        return {};
    return block.sliced(qsizetype(4 + skip));
}
