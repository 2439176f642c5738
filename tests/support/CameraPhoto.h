// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A photo as a camera leaves it, written for tests that make photos ready
// for the web.

#include <QImage>
#include <QPainter>
#include <QTest>

#include <exiv2/exiv2.hpp>

// A photo with a red band along its top, the camera's metadata and a
// comment, and the place when asked.
inline void makePhoto(const QString &path, QSize size, int orientation, bool located)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QPainter(&image).fillRect(0, 0, size.width(), size.height() / 8, Qt::red);
    QVERIFY(image.save(path, "JPEG", 90));
    auto photo = Exiv2::ImageFactory::open(path.toStdString());
    photo->readMetadata();
    Exiv2::ExifData &exif = photo->exifData();
    exif["Exif.Image.Orientation"] = uint16_t(orientation);
    if (located) {
        exif["Exif.GPSInfo.GPSLatitude"] = "40/1 25/1 0/1";
        exif["Exif.GPSInfo.GPSLongitude"] = "3/1 42/1 0/1";
    }
    photo->setComment("Casa de la abuela");
    photo->writeMetadata();
}
