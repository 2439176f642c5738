#include "Artwork.h"

#include <QImageReader>

QPixmap artwork(const QString &resourcePath)
{
    QImageReader reader(resourcePath, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon artworkIcon(const QString &resourcePath)
{
    return QIcon(artwork(resourcePath));
}
