// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// Whether a JPEG file reaches its end marker. The decoder fills a picture
// cut short (a copy or download that stopped) with grey and calls it a
// success, so the end is looked for before decoding: past the headers the
// compressed data never holds the end marker's two bytes, so the first
// pair found there ends the picture. A file may go on after it (some
// cameras append a video); that is no shortage.
bool jpegReachesItsEnd(QByteArrayView file);
