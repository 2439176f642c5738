// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PhotoFacts.h"

#include "photo/HeifPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace {

void quietExiv2()
{
    // Exiv2 writes its complaints about odd files to the standard error;
    // an odd file simply has no place here. Its XMP toolkit wants to be
    // set up once before threads use it.
    static std::once_flag quiet;
    std::call_once(quiet, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
}

bool holdsLocation(const Exiv2::ExifData &exif, const Exiv2::XmpData &xmp)
{
    for (const char *key : {"Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLongitude"}) {
        if (exif.findKey(Exiv2::ExifKey(key)) != exif.end())
            return true;
    }
    for (const char *key : {"Xmp.exif.GPSLatitude", "Xmp.exif.GPSLongitude"}) {
        if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
            return true;
    }
    return false;
}

bool fileHoldsLocation(const QString &path)
{
    quietExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        return holdsLocation(image->exifData(), image->xmpData());
    } catch (const std::exception &) {
    }
    return false;
}

// Exiv2 reads no HEIF file here: libheif hands over the metadata blocks.
bool heifHoldsLocation(const HeifPicture &heif)
{
    quietExiv2();
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    try {
        const QByteArray tiff = heif.exif();
        if (!tiff.isEmpty())
            Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte *>(tiff.constData()),
                                      uint32_t(tiff.size()));
        const QByteArray packet = heif.xmp();
        if (!packet.isEmpty())
            Exiv2::XmpParser::decode(xmp, packet.toStdString());
    } catch (const std::exception &) {
        // What was read before the fault still counts.
    }
    return holdsLocation(exif, xmp);
}

} // namespace

PhotoFacts PhotoFacts::read(const QString &path)
{
    PhotoFacts facts;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return facts;
    facts.bytes = file.size();
    if (HeifPicture::looksLike(file.read(64))) {
        const HeifPicture heif(path);
        facts.format = "heif";
        facts.pixels = heif.size();
        facts.frames = std::max(1, heif.imageCount());
        facts.hasLocation = heif.isValid() && heifHoldsLocation(heif);
        return facts;
    }
    file.close();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    facts.pixels = reader.size();
    facts.format = reader.format();
    if (facts.pixels.isValid() &&
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
        facts.pixels.transpose();
    if (reader.supportsAnimation())
        facts.frames = std::max(1, reader.imageCount());
    facts.hasLocation = fileHoldsLocation(path);
    return facts;
}

bool PhotoFacts::worthPreparing() const
{
    return std::max(pixels.width(), pixels.height()) > kLargestSide || bytes > kLargestFile ||
           hasLocation;
}
