// SPDX-License-Identifier: GPL-3.0-or-later
// Making the web copy of a phone's 12-MP HEIC photo (4032 × 3024, turned by
// the file, with the place) through the images page, as a user does: picture
// 1 opened, the photo picked in its list, Sí to the question, until the slot
// shows NAME_web.jpg. A precise 1 ms timer on the user-interface thread
// records its longest gap meanwhile. The peer, in the same run, is
// heif-convert to a JPEG and ImageMagick's resize to 1280 pixels without
// metadata.
//
//   bench_heiccopy [ROUNDS]          (default 5)

#include "bench/BenchPrompts.h"
#include "bench/BenchStats.h"
#include "bench/GapMeter.h"
#include "bench/ImagesPageOpen.h"
#include "photo/WebCopy.h"
#include "tests/photo/HeicPhoto.h"
#include "wizard/FileList.h"
#include "wizard/ImagesPage.h"
#include "wizard/PictureSlot.h"
#include "wizard/TfrmWeb.h"
#include "wizard/WebCopyOffer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A phone's photo: smooth light with fine grain, about as heavy as one.
QImage phonePhoto()
{
    QImage image(4032, 3024, QImage::Format_RGB888);
    QRandomGenerator grain(1);
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(grain.bounded(48));
            line[3 * x] = uchar(x * 200 / 4032 + noise);
            line[3 * x + 1] = uchar(y * 200 / 3024 + noise);
            line[3 * x + 2] = uchar(120 + noise);
        }
    }
    return image;
}

struct Round {
    double seconds = 0; // from Sí to the copy shown
    double gapMs = 0;
};

Round throughThePage(ImagesPage &page, AnsweringPrompts &prompts, const QString &name)
{
    QEventLoop loop;
    QObject::connect(page.webCopies(), &WebCopyOffer::finished, &loop, &QEventLoop::quit);
    GapMeter meter;
    QElapsedTimer fromAnswer;
    prompts.onQuestion = [&] {
        meter.restart();
        fromAnswer.start();
    };
    page.btnImagen1Click();
    page.slot(1)->pickName(name);
    loop.exec();
    const double seconds = fromAnswer.nsecsElapsed() / 1e9;
    if (page.slot(1)->chosenName() != QFileInfo(WebCopy::copyPathFor(name)).fileName())
        std::printf("round %s: the slot shows %s\n", qPrintable(name),
                    qPrintable(page.slot(1)->chosenName()));
    return {seconds, meter.longest()};
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitCode() == 0;
}

double peer(const QDir &dir, const QString &name)
{
    const QString full = dir.filePath(QStringLiteral("peer.jpg"));
    QElapsedTimer clock;
    clock.start();
    if (!run(QStringLiteral("heif-convert"), {dir.filePath(name), full}) ||
        !run(QStringLiteral("convert"),
             {full, QStringLiteral("-resize"), QStringLiteral("1280x1280>"),
              QStringLiteral("-strip"), QStringLiteral("-quality"), QStringLiteral("85"),
              dir.filePath(QStringLiteral("peer_web.jpg"))}))
        return -1;
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QDir dir(folder.path());
    const QString first = dir.filePath(QStringLiteral("foto.heic"));
    if (!writeHeic(first, {phonePhoto()}, 6, true)) {
        std::printf("libheif cannot write HEIC here\n");
        return 1;
    }
    for (int round = 0; round < rounds; ++round)
        QFile::copy(first, dir.filePath(QStringLiteral("foto%1.heic").arg(round)));
    std::printf("photo: 4032 x 3024 HEIC, %.2f MB\n", QFileInfo(first).size() / 1e6);

    AnsweringPrompts prompts;
    TfrmWeb window(prompts);
    ImagesPage *page = openImagesPage(window);

    QList<double> oursSeconds, oursGaps, peerSeconds;
    for (int round = 0; round < rounds; ++round) {
        const QString name = QStringLiteral("foto%1.heic").arg(round);
        const Round ours = throughThePage(*page, prompts, name);
        oursSeconds.append(ours.seconds);
        oursGaps.append(ours.gapMs);
        peerSeconds.append(peer(dir, name));
    }
    std::printf(
        "web copy: %s, %.0f KB\n",
        qPrintable(QStringLiteral("%1 x %2")
                       .arg(QImage(dir.filePath(QStringLiteral("foto0_web.jpg"))).width())
                       .arg(QImage(dir.filePath(QStringLiteral("foto0_web.jpg"))).height())),
        QFileInfo(dir.filePath(QStringLiteral("foto0_web.jpg"))).size() / 1e3);
    std::printf("Brenzo, Si to copy shown (s): %s\n"
                "  longest UI-thread gap (goal <= 50 ms): %s ms: %s\n",
                spread(oursSeconds).constData(), spread(oursGaps, 1).constData(),
                median(oursGaps) <= 50 ? "met" : "MISSED");
    std::printf("heif-convert + ImageMagick resize (s): %s\n", spread(peerSeconds).constData());
    return 0;
}
