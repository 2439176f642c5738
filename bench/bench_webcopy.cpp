// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing a 4032 × 3024 photo for the web through the images page, as a
// user does: picture 1 opened, the photo picked in its list, Sí to the
// question, until the slot shows NAME_web.jpg. A precise 1 ms timer on the
// user-interface thread records its longest gap meanwhile, from the pick
// (which previews the original first, as every pick does) and from the
// answer on. The peer is the same preparation done the naive way, on the
// user-interface thread.
//
//   bench_webcopy [ROUNDS]          (default 5)

#include "bench/BenchPrompts.h"
#include "bench/BenchStats.h"
#include "bench/GapMeter.h"
#include "bench/ImagesPageOpen.h"
#include "photo/WebCopy.h"
#include "wizard/FileList.h"
#include "wizard/ImagesPage.h"
#include "wizard/PictureSlot.h"
#include "wizard/TfrmWeb.h"
#include "wizard/WebCopyOffer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// A phone's photo: smooth light with fine grain, about as heavy as one.
void writePhoto(const QString &path)
{
    QImage image(4032, 3024, QImage::Format_RGB32);
    QRandomGenerator grain(1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(grain.bounded(48));
            line[x] = qRgb(x * 200 / 4032 + noise, y * 200 / 3024 + noise, 120 + noise);
        }
    }
    image.save(path, "JPEG", 92);
}

struct Round {
    double seconds;
    double gapMs;
    double answeredSeconds = 0; // from Sí on
    double answeredGapMs = 0;
};

Round throughThePage(ImagesPage &page, AnsweringPrompts &prompts, const QString &name)
{
    QEventLoop loop;
    QObject::connect(page.webCopies(), &WebCopyOffer::finished, &loop, &QEventLoop::quit);
    GapMeter meter;
    GapMeter answered;
    QElapsedTimer clock;
    QElapsedTimer fromAnswer;
    prompts.onQuestion = [&] {
        answered.restart();
        fromAnswer.start();
    };
    clock.start();
    page.btnImagen1Click();
    page.slot(1)->pickName(name);
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double afterAnswer = fromAnswer.nsecsElapsed() / 1e9;
    if (page.slot(1)->chosenName() != QFileInfo(WebCopy::copyPathFor(name)).fileName())
        std::printf("round %s: the slot shows %s\n", qPrintable(name),
                    qPrintable(page.slot(1)->chosenName()));
    const double gap = meter.longest();
    return {seconds, gap, afterAnswer, answered.longest()};
}

Round onTheUiThread(const QString &path)
{
    GapMeter meter;
    QElapsedTimer clock;
    clock.start();
    const WebCopy::Outcome outcome = WebCopy::prepare(path);
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (!outcome.error.isEmpty())
        std::printf("%s\n", qPrintable(outcome.error));
    return {seconds, meter.longest()};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QDir dir(folder.path());
    writePhoto(dir.filePath(QStringLiteral("foto.jpg")));
    // One file per round: each is asked about once.
    for (int round = 0; round < rounds; ++round)
        QFile::copy(dir.filePath(QStringLiteral("foto.jpg")),
                    dir.filePath(QStringLiteral("foto%1.jpg").arg(round)));
    std::printf("photo: 4032 x 3024, %.2f MB\n",
                QFileInfo(dir.filePath(QStringLiteral("foto.jpg"))).size() / 1e6);

    AnsweringPrompts prompts;
    TfrmWeb window(prompts);
    ImagesPage *page = openImagesPage(window);

    QList<double> oursSeconds, oursGaps, answeredSeconds, answeredGaps, peerSeconds, peerGaps;
    for (int round = 0; round < rounds; ++round) {
        const QString name = QStringLiteral("foto%1.jpg").arg(round);
        const Round ours = throughThePage(*page, prompts, name);
        oursSeconds.append(ours.seconds);
        oursGaps.append(ours.gapMs);
        answeredSeconds.append(ours.answeredSeconds);
        answeredGaps.append(ours.answeredGapMs);
        const Round peer = onTheUiThread(dir.filePath(name));
        peerSeconds.append(peer.seconds);
        peerGaps.append(peer.gapMs);
    }
    std::printf("web copy size: %.0f KB\n",
                QFileInfo(dir.filePath(QStringLiteral("foto0_web.jpg"))).size() / 1e3);
    std::printf("through the page, pick to copy shown (s): %s; longest UI-thread gap %s ms\n",
                spread(oursSeconds).constData(), spread(oursGaps, 1).constData());
    std::printf("preparing, Si to copy shown (s): %s\n"
                "  longest UI-thread gap (goal <= 50 ms): %s ms: %s\n",
                spread(answeredSeconds).constData(), spread(answeredGaps, 1).constData(),
                median(answeredGaps) <= 50 ? "met" : "MISSED");
    std::printf("the same preparation on the UI thread (s): %s; longest gap %s ms\n",
                spread(peerSeconds).constData(), spread(peerGaps, 1).constData());
    return 0;
}
