// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/WebCopy.h"

#include "photo/JpegEnd.h"
#include "photo/WebCopyTexts.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace {

WebCopy::Outcome refused(const QString &error)
{
    return {QString(), error};
}

// Decodes the photo straight at the copy's size: the JPEG decoder then
// works on a fraction of the pixels and never holds the full picture.
QImage decode(QFile &file, QString &error)
{
    const QString name = QFileInfo(file.fileName()).fileName();
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (!full.isValid()) {
        error = WebCopyTexts::unreadable(name);
        return {};
    }
    if (qint64(full.width()) * full.height() > WebCopy::kMostPixels) {
        error = WebCopyTexts::tooLarge(name, full);
        return {};
    }
    if (reader.format() == "jpeg") {
        uchar *bytes = file.map(0, file.size());
        const bool complete = bytes && jpegReachesItsEnd(QByteArrayView(bytes, file.size()));
        if (bytes)
            file.unmap(bytes);
        if (!complete) {
            error = WebCopyTexts::cutShort(name);
            return {};
        }
    }
    if (std::max(full.width(), full.height()) > WebCopy::kLongerSide)
        reader.setScaledSize(
            full.scaled(WebCopy::kLongerSide, WebCopy::kLongerSide, Qt::KeepAspectRatio));
    reader.setQuality(100); // the careful decoder and smooth scaling
    QImage image = reader.read();
    if (image.isNull())
        error = WebCopyTexts::unreadable(name);
    return image;
}

// The pixels alone: a fresh image over the same memory carries none of the
// texts (the JPEG comments) or the colour profile the decoder attached,
// which the encoder would otherwise write back.
QImage bare(QImage image)
{
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace::SRgb)
        image.convertToColorSpace(QColorSpace::SRgb);
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_Grayscale8)
        image.convertTo(QImage::Format_RGB32);
    const QImage view(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                      image.format());
    return view.copy();
}

} // namespace

QString WebCopy::copyPathFor(const QString &original)
{
    const QFileInfo info(original);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_web.jpg"));
}

WebCopy::Outcome WebCopy::prepare(const QString &original)
{
    const QString name = QFileInfo(original).fileName();
    const QString target = copyPathFor(original);
    const QString copyName = QFileInfo(target).fileName();
    const QFileInfo existing(target);
    if (existing.isSymLink())
        return refused(WebCopyTexts::linkInTheWay(copyName));
    if (existing.isDir())
        return refused(WebCopyTexts::folderInTheWay(copyName));

    QFile file(original);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.exists() ? WebCopyTexts::unreadable(name) : WebCopyTexts::gone(name));
    QString error;
    const QImage image = decode(file, error);
    if (image.isNull())
        return refused(error);

    // QSaveFile writes beside the target and renames only when all went
    // well; on any failure it removes what it wrote.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return refused(WebCopyTexts::notWritten(copyName));
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(kQuality);
    if (!writer.write(bare(image)) || !out.flush() || !out.commit())
        return refused(WebCopyTexts::notWritten(copyName));
    return {target, QString()};
}
