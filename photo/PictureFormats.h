// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The kinds of picture the images page offers, told by a file's name as
// its list tells them. GIF and JPEG pictures go on the page as they are;
// HEIC, HEIF, PNG and WebP pictures only through a copy for the web, which
// every browser shows.
namespace PictureFormats {

// The list's mask, every pattern matched whatever its capitals.
QString listMask();

bool needsWebCopy(const QString &fileName);

// The format's name as the user sees it ("HEIC", "PNG", "WebP", "JPEG").
QString nameOf(const QString &fileName);

} // namespace PictureFormats
