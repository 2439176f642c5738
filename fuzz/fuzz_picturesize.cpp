// SPDX-License-Identifier: GPL-3.0-or-later
// The size the adapted page gives a picture, read from any bytes as the
// file beside the page: it never reads out of bounds, and a size it gives
// is positive on both sides.

#include "page/PictureSize.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const QSize found = pictureSize(file);
    if (found.isValid() && (found.width() <= 0 || found.height() <= 0))
        std::abort();
    return 0;
}
