// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The bytes of a JPEG file's markers that its readers here look for.
namespace JpegMarkers {

constexpr uchar kMarker = 0xFF;
constexpr uchar kStart = 0xD8;
constexpr uchar kEnd = 0xD9;
constexpr uchar kScan = 0xDA;

} // namespace JpegMarkers
