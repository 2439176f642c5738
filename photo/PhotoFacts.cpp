// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PhotoFacts.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace {

bool holdsLocation(const QString &path)
{
    // Exiv2 writes its complaints about odd files to the standard error;
    // an odd file simply has no place here.
    static std::once_flag quiet;
    std::call_once(quiet, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        for (const char *key : {"Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLongitude"}) {
            if (exif.findKey(Exiv2::ExifKey(key)) != exif.end())
                return true;
        }
        const Exiv2::XmpData &xmp = image->xmpData();
        for (const char *key : {"Xmp.exif.GPSLatitude", "Xmp.exif.GPSLongitude"}) {
            if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
                return true;
        }
    } catch (const std::exception &) {
    }
    return false;
}

} // namespace

PhotoFacts PhotoFacts::read(const QString &path)
{
    PhotoFacts facts;
    const QFileInfo file(path);
    if (!file.isFile())
        return facts;
    facts.bytes = file.size();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    facts.pixels = reader.size();
    if (facts.pixels.isValid() &&
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        facts.pixels.transpose();
    facts.hasLocation = holdsLocation(path);
    return facts;
}

bool PhotoFacts::worthPreparing() const
{
    return std::max(pixels.width(), pixels.height()) > kLargestSide || bytes > kLargestFile ||
           hasLocation;
}
