// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// The TIFF structure inside a HEIF file's EXIF block: the block starts with
// a 32-bit big-endian count of the bytes that come before the structure
// (usually the six of "Exif\0\0"). Empty when the count points past the
// block.
QByteArrayView tiffOfHeifExif(QByteArrayView block);
