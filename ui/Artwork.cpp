// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

namespace {

QPixmap readPng(const QString &resourcePath)
{
    QImageReader reader(resourcePath, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// NAME@2x.png, the same picture drawn twice the size, for screens of high
// density; empty when the picture has none.
QString twiceSizeOf(const QString &resourcePath)
{
    QString twiceSize = resourcePath;
    twiceSize.insert(twiceSize.lastIndexOf(u'.'), QStringLiteral("@2x"));
    return QFile::exists(twiceSize) ? twiceSize : QString();
}

} // namespace

QPixmap artwork(const QString &resourcePath)
{
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const QString twiceSize = twiceSizeOf(resourcePath);
        if (!twiceSize.isEmpty()) {
            QPixmap sharp = readPng(twiceSize);
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return readPng(resourcePath);
}

QIcon artworkIcon(const QString &resourcePath)
{
    // The icon picks the picture that fits the size and density it is
    // drawn at. As QIcon does with a file name, the twice-size picture is
    // added only when the screens are dense enough to draw it: reading it
    // for nothing on every icon is a noticeable part of starting up.
    QIcon icon(readPng(resourcePath));
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const QString twiceSize = twiceSizeOf(resourcePath);
        if (!twiceSize.isEmpty())
            icon.addPixmap(readPng(twiceSize));
    }
    return icon;
}
