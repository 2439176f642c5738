// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/WebCopy.h"

#include "photo/HeifPicture.h"
#include "photo/JpegEnd.h"
#include "photo/WebCopyTexts.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

namespace {

WebCopy::Outcome refused(const QString &error)
{
    return {QString(), error, {}};
}

// No copy of at most 1280 pixels a side comes near this.
constexpr qint64 kLargestCopy = 64ll * 1024 * 1024;

QString numberedCopyPath(const QString &original, int number)
{
    const QFileInfo info(original);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("_web-%1.jpg").arg(number));
}

// Nothing at that path, or a copy made here that nobody changed since.
bool mayTake(const QString &path, const WebCopy::MadeCopies &made)
{
    const QFileInfo file(path);
    if (file.isSymLink())
        return false;
    if (!file.exists())
        return true;
    const auto copy = made.find(file.fileName());
    return file.isFile() && copy != made.end() && WebCopy::sha256Of(path) == *copy;
}

bool tooManyPixels(QSize size)
{
    return qint64(size.width()) * size.height() > WebCopy::kMostPixels;
}

QSize copySize(QSize full)
{
    return std::max(full.width(), full.height()) > WebCopy::kLongerSide
               ? full.scaled(WebCopy::kLongerSide, WebCopy::kLongerSide, Qt::KeepAspectRatio)
               : full;
}

// libheif decodes the whole picture; it is made smaller afterwards.
QImage decodeHeif(const QString &path, QString &error)
{
    const QString name = QFileInfo(path).fileName();
    HeifPicture heif(path);
    const QSize full = heif.size();
    if (!heif.isValid() || full.isEmpty()) {
        error = WebCopyTexts::unreadable(name);
        return {};
    }
    if (tooManyPixels(full)) {
        error = WebCopyTexts::tooLarge(name, full);
        return {};
    }
    const QImage image = heif.decode();
    if (image.isNull()) {
        error = WebCopyTexts::unreadable(name);
        return {};
    }
    return image.size() == copySize(image.size())
               ? image
               : image.scaled(copySize(image.size()), Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
}

// Decodes the photo straight at the copy's size: the JPEG decoder then
// works on a fraction of the pixels and never holds the full picture.
QImage decode(QFile &file, QString &error)
{
    if (HeifPicture::looksLike(file.peek(64)))
        return decodeHeif(file.fileName(), error);
    const QString name = QFileInfo(file.fileName()).fileName();
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (!full.isValid()) {
        error = WebCopyTexts::unreadable(name);
        return {};
    }
    if (tooManyPixels(full)) {
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
    if (copySize(full) != full)
        reader.setScaledSize(copySize(full));
    reader.setQuality(100); // the careful decoder and smooth scaling
    // An animation gives its first frame.
    QImage image = reader.read();
    if (image.isNull())
        error = WebCopyTexts::unreadable(name);
    return image;
}

// The pixels alone: a fresh image over the same memory carries none of the
// texts (the JPEG comments) or the colour profile the decoder attached,
// which the encoder would otherwise write back. JPEG has no transparency:
// what shows through is the page's background.
QImage bare(QImage image, const QColor &background)
{
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace::SRgb)
        image.convertToColorSpace(QColorSpace::SRgb);
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(background);
        QPainter(&flat).drawImage(0, 0, image);
        image = flat;
    }
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

QString WebCopy::copyPathFor(const QString &original, const MadeCopies &made)
{
    const QString first = copyPathFor(original);
    const QFileInfo firstInfo(first);
    if (firstInfo.isSymLink() || firstInfo.isDir() || mayTake(first, made))
        return first;
    for (int number = 2;; ++number) {
        const QString path = numberedCopyPath(original, number);
        if (mayTake(path, made))
            return path;
    }
}

QByteArray WebCopy::sha256Of(const QString &path)
{
    QFile file(path);
    if (file.size() > kLargestCopy || !file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return hash.addData(&file) ? hash.result() : QByteArray();
}

WebCopy::Outcome WebCopy::prepare(const QString &original, const QString &copyPath,
                                  const QColor &background)
{
    const QString name = QFileInfo(original).fileName();
    const QString target = copyPath.isEmpty() ? copyPathFor(original) : copyPath;
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

    // Encoded in memory first, so the bytes written are the bytes remembered.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, "jpeg");
    writer.setQuality(kQuality);
    if (!writer.write(bare(image, background)))
        return refused(WebCopyTexts::notWritten(copyName));
    // QSaveFile writes beside the target and renames only when all went
    // well; on any failure it removes what it wrote.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(encoded.data()) != encoded.size() ||
        !out.commit())
        return refused(WebCopyTexts::notWritten(copyName));
    return {target, QString(),
            QCryptographicHash::hash(encoded.data(), QCryptographicHash::Sha256)};
}
