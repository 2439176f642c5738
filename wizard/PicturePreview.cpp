// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/PicturePreview.h"

#include "photo/JpegHeaders.h"
#include "ui/ProgramError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMovie>

namespace {
QString decoderMessage(const QString &path, const QString &error)
{
    return QStringLiteral("No se puede mostrar la imagen \"%1\".\n%2")
        .arg(QFileInfo(path).fileName(), error);
}
} // namespace

StillPreview::StillPreview(const QString &objectName, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
}

QSize StillPreview::fittedSize(const QSize &picture, const QSize &box)
{
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

StillPreview::Decoded StillPreview::decode(const QString &path, QSize box)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && !JpegHeaders::endInBounds(file))
        return {{}, decoderMessage(path, QStringLiteral(u"El archivo no es una imagen válida."))};
    file.close();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // A large photograph is decoded straight at the size shown.
    const QSize full = reader.size();
    if (full.isValid())
        reader.setScaledSize(fittedSize(full, box));
    QImage image = reader.read();
    if (image.isNull())
        return {{}, decoderMessage(path, reader.errorString())};
    if (image.size() != fittedSize(image.size(), box))
        image = image.scaled(fittedSize(image.size(), box), Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return {image, {}};
}

void StillPreview::present(const Decoded &decoded)
{
    if (decoded.image.isNull())
        throw ProgramError(decoded.error);
    setPixmap(QPixmap::fromImage(decoded.image));
}

void StillPreview::showReading()
{
    setText(QStringLiteral(u"Cargando la imagen…"));
}

AnimatedPreview::AnimatedPreview(const QString &objectName, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    setAlignment(Qt::AlignCenter);
}

void AnimatedPreview::load(const QString &path)
{
    auto movie = std::make_unique<QMovie>(path, QByteArray("gif"));
    movie->setCacheMode(QMovie::CacheNone);
    if (!movie->isValid()) {
        // QMovie only says it cannot play; a reading attempt says why.
        QImageReader reader(path, QByteArray("gif"));
        reader.read();
        throw ProgramError(decoderMessage(path, reader.errorString()));
    }
    // start() decodes the first frame at once; a file that is only a GIF by
    // its header fails here.
    movie->start();
    if (movie->currentImage().isNull()) {
        const QString error = movie->lastErrorString();
        throw ProgramError(decoderMessage(path, error));
    }
    // QMovie stops after one pass when the GIF has no loop block. The start
    // waits for the event loop: QMovie is still finishing its pass when it
    // says it has finished.
    QMovie *playing = movie.get();
    connect(playing, &QMovie::finished, playing, &QMovie::start, Qt::QueuedConnection);
    setMovie(playing);
    delete m_movie;
    m_movie = movie.release();
    m_movie->setParent(this);
    m_movie->setPaused(!isVisible());
}

void AnimatedPreview::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (m_movie)
        m_movie->setPaused(false);
}

void AnimatedPreview::hideEvent(QHideEvent *event)
{
    QLabel::hideEvent(event);
    if (m_movie)
        m_movie->setPaused(true);
}
