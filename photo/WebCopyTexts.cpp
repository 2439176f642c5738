// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/WebCopyTexts.h"

#include "photo/PhotoFacts.h"
#include "photo/PictureFormats.h"
#include "photo/WebCopy.h"

#include <QLocale>

namespace {

const QString kUnchanged = QStringLiteral(u" La foto original no ha cambiado.");

QString spanishSize(qint64 bytes)
{
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    if (bytes < 100'000)
        return QStringLiteral("%1 KB").arg(std::max<qint64>(1, (bytes + 500) / 1000));
    return QStringLiteral("%1 MB").arg(spanish.toString(bytes / 1e6, 'f', 1));
}

QString dimensions(QSize pixels)
{
    return QStringLiteral(u"%1 × %2").arg(pixels.width()).arg(pixels.height());
}

const QString kPlace = QStringLiteral(u" Guarda además el lugar donde se tomó, que cualquiera "
                                      u"que visite su página podría leer.");

// The format and what it is known for, in a few words.
QString formatInWords(const QString &fileName)
{
    const QString name = PictureFormats::nameOf(fileName);
    if (name == u"PNG")
        return QStringLiteral(u"PNG, el de las capturas de pantalla y muchos dibujos");
    if (name == u"WebP")
        return QStringLiteral(u"WebP, el de muchas imágenes guardadas de internet");
    return name + QStringLiteral(u", el que usan muchos teléfonos para sus fotos");
}

} // namespace

QString WebCopyTexts::question(const QString &fileName, const QString &copyName,
                               const PhotoFacts &facts)
{
    QString text = QStringLiteral(u"La foto «%1» ocupa %2 y mide %3 píxeles.")
                       .arg(fileName, spanishSize(facts.bytes), dimensions(facts.pixels));
    if (facts.hasLocation)
        text += kPlace;
    text += QStringLiteral(u"\n\nLa copia para la web, «%1», mide como mucho %2 píxeles de lado, "
                           u"pesa mucho menos y no lleva el lugar ni otros datos de la cámara. "
                           u"La foto original no cambia.\n\n¿Desea preparar una copia para la web?")
                .arg(copyName, QString::number(WebCopy::kLongerSide));
    return text;
}

QString WebCopyTexts::formatQuestion(const QString &fileName, const QString &copyName,
                                     const PhotoFacts &facts)
{
    QString text = QStringLiteral(u"La imagen «%1» está en formato %2, y mide %3 píxeles. La "
                                  u"página solo puede mostrarla a través de una copia para la "
                                  u"web, en formato JPEG.")
                       .arg(fileName, formatInWords(fileName), dimensions(facts.pixels));
    text += facts.hasLocation ? kPlace : QStringLiteral(u" No guarda el lugar donde se tomó.");
    if (facts.frames > 1 && facts.format == "heif")
        text += QStringLiteral(u" El archivo guarda %1 imágenes: la copia muestra la principal.")
                    .arg(facts.frames);
    else if (facts.frames > 1)
        text += QStringLiteral(u" Es una imagen animada: la copia solo muestra su primer "
                               u"fotograma.");
    text += QStringLiteral(u"\n\nLa copia para la web, «%1», mide como mucho %2 píxeles de lado "
                           u"y no lleva el lugar ni otros datos guardados con la imagen; las "
                           u"zonas transparentes toman el color de fondo de la página. La "
                           u"imagen original no cambia.\n\n¿Desea preparar una copia para la "
                           u"web?")
                .arg(copyName, QString::number(WebCopy::kLongerSide));
    return text;
}

QString WebCopyTexts::gone(const QString &fileName)
{
    return QStringLiteral(u"La foto «%1» ya no está en la carpeta.").arg(fileName);
}

QString WebCopyTexts::unreadable(const QString &fileName)
{
    return QStringLiteral(u"No se puede leer la foto «%1»: no parece una imagen %2 válida.")
               .arg(fileName, PictureFormats::nameOf(fileName)) +
           kUnchanged;
}

QString WebCopyTexts::cutShort(const QString &fileName)
{
    return QStringLiteral(u"La foto «%1» está incompleta: el archivo se corta antes del final "
                          u"de la imagen.")
               .arg(fileName) +
           kUnchanged;
}

QString WebCopyTexts::tooLarge(const QString &fileName, QSize pixels)
{
    return QStringLiteral(u"La foto «%1» dice medir %2 píxeles, más de los %3 millones que Brenzo "
                          u"puede preparar.")
               .arg(fileName, dimensions(pixels),
                    QString::number(WebCopy::kMostPixels / 1'000'000)) +
           kUnchanged;
}

QString WebCopyTexts::folderInTheWay(const QString &copyName)
{
    return QStringLiteral(u"Ya hay una carpeta llamada «%1» junto a la foto, y la copia para la "
                          u"web no puede ocupar su lugar.")
               .arg(copyName) +
           kUnchanged;
}

QString WebCopyTexts::linkInTheWay(const QString &copyName)
{
    return QStringLiteral(u"«%1» es un enlace a otro archivo; Brenzo no escribe la copia para la "
                          u"web a través de él.")
               .arg(copyName) +
           kUnchanged;
}

QString WebCopyTexts::notWritten(const QString &copyName)
{
    return QStringLiteral(u"No se puede escribir la copia para la web «%1» en la carpeta de la "
                          u"foto. Compruebe que la carpeta admite cambios y que el disco no está "
                          u"lleno.")
               .arg(copyName) +
           kUnchanged;
}
