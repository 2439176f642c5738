// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QImage>

// A small JPEG crafted to keep a reader in its headers: they start with
// `count` segments of that marker (E1 XMP, FE a comment) of `payload` bytes.
inline QByteArray jpegWithSegments(int count, uchar marker = 0xE1, int payload = 2)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    const int length = payload + 2;
    const QByteArray segment = QByteArray("\xFF") + char(marker) + char(length >> 8) +
                               char(length & 0xFF) + QByteArray(payload, 'x');
    return jpeg.insert(2, segment.repeated(count));
}
