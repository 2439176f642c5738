// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

struct heif_context;
struct heif_image_handle;

// A HEIC or HEIF file (as phones save their photos) read through libheif:
// its primary picture, which is the one shown when the file holds several,
// turned and mirrored as the file's own transformations say. The EXIF
// orientation tag such a file may also carry describes the stored pixels
// and is not applied again.
class HeifPicture {
public:
    // Whether the bytes at the start of a file (at least 12) are a HEIF
    // file that libheif reads.
    static bool looksLike(const QByteArray &start);

    // Reads the file's boxes, not its pixels; isValid() tells whether that
    // worked, error() why not.
    explicit HeifPicture(const QString &path);
    // The same over bytes in memory, which must outlive the picture.
    explicit HeifPicture(const QByteArray &bytes);
    ~HeifPicture();
    HeifPicture(const HeifPicture &) = delete;
    HeifPicture &operator=(const HeifPicture &) = delete;

    bool isValid() const { return m_handle != nullptr; }
    QString error() const { return m_error; }

    // As shown: after the file's rotation.
    QSize size() const;
    int imageCount() const;
    bool hasAlpha() const;
    // The EXIF metadata of the primary picture as a TIFF structure (what an
    // EXIF parser reads), and its XMP packet; empty when there is none.
    QByteArray exif() const;
    QByteArray xmp() const;

    // Decodes the whole primary picture in 8-bit RGB, with its alpha when
    // it has one; a null image (and error()) when it cannot.
    QImage decode();

private:
    void openPrimary(struct heif_error opened);
    QByteArray metadata(const char *type, const char *contentType) const;

    std::unique_ptr<heif_context, void (*)(heif_context *)> m_context;
    heif_image_handle *m_handle = nullptr;
    QString m_error;
};
