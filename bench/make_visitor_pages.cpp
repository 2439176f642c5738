// SPDX-License-Identifier: GPL-3.0-or-later
// The pages the visitor benchmark opens: a page with a sound, a text, three
// pictures, a scrolling text and links, whose first picture is a 4032 x 3024
// phone photo of about 4 MB. For each colour combination, a folder "exacta-N"
// with the exact page and the original photo, and a folder "movil-N" with
// the adapted page and a copy of the photo at most 1280 pixels wide
// (quality 85), as the copy made for the web is, and the exact page with that
// copy as "exacta.htm".
//
//   make_visitor_pages MEDIA_DIR OUT_DIR

#include "page/ColourScheme.h"
#include "page/GenerationRun.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

#include <cstdio>

namespace {

// The beach sample blown up to a phone camera's size, with the fine grain a
// camera leaves, so that it weighs what a phone photo weighs.
QImage phonePhoto(const QString &mediaDir)
{
    QImage photo = QImage(mediaDir + QStringLiteral("/samples/foto_playa.jpg"))
                       .scaled(4032, 3024, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < photo.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            const int d = int(grain.bounded(21)) - 10;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255),
                           qBound(0, qBlue(c) + d, 255));
        }
    }
    return photo;
}

bool save(const QImage &image, const QString &path, int quality)
{
    QImageWriter writer(path, "jpg");
    writer.setQuality(quality);
    return writer.write(image);
}

PageSettings benchPage(Combinacion colours, const QString &photo)
{
    PageSettings s;
    s.txtTitol = QStringLiteral(u"La casa de Ana");
    s.txtSubTitol1 = QStringLiteral(u"Fotos de mis vacaciones");
    s.optCombinacion = colours;
    s.stSonido = QStringLiteral("campanas.wav");
    s.txtLibre = QStringLiteral(
        u"Hola, soy Ana. En esta página os enseño las fotos de mis vacaciones en la playa.\n"
        u"Escribidme si queréis copias en papel o si sabéis de otro sitio tan tranquilo.");
    s.lblNombreImagen1 = photo;
    s.lblNombreImagen2 = QStringLiteral("estrella.gif");
    s.lblNombreImagen3 = QStringLiteral("Logo.Gif");
    s.TextoScroll = QStringLiteral(u"¡Gracias por tu visita!");
    s.GridEnlaces[1] = {QStringLiteral("https://playa.example/"), QStringLiteral("La playa")};
    s.txtEmail = QStringLiteral("ana@correo.example");
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_visitor_pages MEDIA_DIR OUT_DIR\n");
        return 2;
    }
    const QString media = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const QImage photo = phonePhoto(media);
    QDir().mkpath(out.path());
    if (!save(photo, out.filePath(QStringLiteral("foto.jpg")), 92) ||
        !save(photo.scaled(1280, 1280, Qt::KeepAspectRatio, Qt::SmoothTransformation),
              out.filePath(QStringLiteral("foto_web.jpg")), 85))
        return 1;
    for (const ColourScheme &scheme : colourSchemes()) {
        const int number = int(scheme.option);
        for (const bool adapted : {false, true}) {
            const QString folder =
                out.filePath(QStringLiteral("%1-%2").arg(adapted ? "movil" : "exacta").arg(number));
            QDir().mkpath(folder);
            const QDir target(folder);
            for (const QString &name :
                 {QStringLiteral("boton_brenzo.gif"), QString::fromUtf16(scheme.backgroundFile),
                  QStringLiteral("samples/campanas.wav"), QStringLiteral("samples/estrella.gif"),
                  QStringLiteral("samples/Logo.Gif")})
                QFile::copy(media + u'/' + name, target.filePath(name.section(u'/', -1)));
            const QString name =
                adapted ? QStringLiteral("foto_web.jpg") : QStringLiteral("foto.jpg");
            QFile::copy(out.filePath(name), target.filePath(name));
            PageSettings settings = benchPage(scheme.option, name);
            settings.chkMovil = adapted;
            if (!runGeneration(settings, folder).written)
                return 1;
            // Beside the adapted page, the exact one with the same copy, for
            // the screenshots that compare them.
            settings.chkMovil = false;
            settings.txtHTML = QStringLiteral("exacta.htm");
            if (adapted && !runGeneration(settings, folder).written)
                return 1;
        }
    }
    return 0;
}
