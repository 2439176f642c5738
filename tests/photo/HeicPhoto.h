// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// HEIC files as phones leave them, written with libheif for tests that make
// pictures ready for the web.

#include <QImage>
#include <QList>
#include <QString>

#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>

// A picture of that size with a red band along its top.
inline QImage bandedPicture(QSize size, QColor colour = Qt::darkBlue)
{
    QImage image(size, QImage::Format_RGB888);
    image.fill(colour);
    for (int y = 0; y < size.height() / 8; ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, Qt::red);
    }
    return image;
}

// Writes the pictures into one HEIC file with the last one primary. The
// file turns the primary picture by orientation (an EXIF value) in its own
// boxes, as a phone does, and its EXIF block repeats that value, with the
// place when asked. False when libheif cannot write it.
inline bool writeHeic(const QString &path, const QList<QImage> &pictures, int orientation,
                      bool located)
{
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 85);
    heif_encoding_options *options = heif_encoding_options_alloc();
    heif_image_handle *handle = nullptr;
    bool written = encoder != nullptr;
    for (qsizetype at = 0; written && at < pictures.size(); ++at) {
        const QImage rgb = pictures[at].convertToFormat(QImage::Format_RGB888);
        heif_image *image = nullptr;
        heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &image);
        heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
        int stride = 0;
        uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgb.height(); ++y)
            memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
        const bool primary = at == pictures.size() - 1;
        options->image_orientation = heif_orientation(primary ? orientation : 1);
        if (handle)
            heif_image_handle_release(handle);
        written = heif_context_encode_image(context, image, encoder, options, &handle).code ==
                  heif_error_Ok;
        heif_image_release(image);
    }
    if (written) {
        Exiv2::ExifData exif;
        exif["Exif.Image.Orientation"] = uint16_t(orientation);
        exif["Exif.Image.Make"] = "Telefono";
        if (located) {
            exif["Exif.GPSInfo.GPSLatitude"] = "40/1 25/1 0/1";
            exif["Exif.GPSInfo.GPSLongitude"] = "3/1 42/1 0/1";
        }
        Exiv2::Blob tiff;
        Exiv2::ExifParser::encode(tiff, Exiv2::littleEndian, exif);
        heif_context_set_primary_image(context, handle);
        written =
            heif_context_add_exif_metadata(context, handle, tiff.data(), int(tiff.size())).code ==
                heif_error_Ok &&
            heif_context_write_to_file(context, path.toLocal8Bit().constData()).code ==
                heif_error_Ok;
    }
    if (handle)
        heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    return written;
}
