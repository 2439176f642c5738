// SPDX-License-Identifier: GPL-3.0-or-later
// Picking crafted JPEG files on the images page, as a user does: picture 1
// opened, each file picked in its list until the slot has read it. The files
// are made here, in a temporary folder: 49 MB of 200,000 small XMP segments,
// and 315 MB of 4,800 comments of 64 KB, each before a small picture's own
// headers. A precise 1 ms timer on the user-interface thread records its
// longest gap from the pick on; the peak resident memory is read at the end.
// The peer, with --peer, is what the window used to do: Qt's reader asked
// for the size on the user-interface thread (about 85 s and 2.3 s / 1.5 GB).
//
//   bench_craftedjpeg [ROUNDS] [--peer]          (default 3 rounds)

#include "bench/BenchPrompts.h"
#include "bench/BenchStats.h"
#include "bench/GapMeter.h"
#include "bench/ImagesPageOpen.h"
#include "bench/ProcStatus.h"
#include "tests/support/CraftedJpeg.h"
#include "ui/BrenzoApplication.h"
#include "wizard/FileList.h"
#include "wizard/ImagesPage.h"
#include "wizard/PictureSlot.h"
#include "wizard/TfrmWeb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Written a segment at a time: the benchmark's own memory stays small.
bool writeCrafted(const QString &path, int count, uchar marker, int payload)
{
    const QByteArray picture = jpegWithSegments(0);
    const int length = payload + 2;
    const QByteArray segment = QByteArray("\xFF") + char(marker) + char(length >> 8) +
                               char(length & 0xFF) + QByteArray(payload, 'x');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(picture.left(2)) != 2)
        return false;
    for (int i = 0; i < count; ++i) {
        if (file.write(segment) != segment.size())
            return false;
    }
    return file.write(picture.mid(2)) == picture.size() - 2;
}

struct Crafted {
    QString name;
    QList<double> seconds;
    QList<double> gaps;
};

} // namespace

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int rounds = arguments.size() > 1 && arguments[1] != u"--peer" ? arguments[1].toInt() : 3;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    const QDir dir(folder.path());
    QList<Crafted> files = {{QStringLiteral("xmp.jpg"), {}, {}},
                            {QStringLiteral("comentarios.jpg"), {}, {}}};
    if (!writeCrafted(dir.filePath(files[0].name), 200'000, 0xE1, 241) ||
        !writeCrafted(dir.filePath(files[1].name), 4'800, 0xFE, 65'533)) {
        std::printf("cannot write the crafted files in %s\n", qPrintable(folder.path()));
        return 1;
    }
    for (const Crafted &file : files)
        std::printf("%s: %.1f MB\n", qPrintable(file.name),
                    QFileInfo(dir.filePath(file.name)).size() / 1e6);

    BenchPrompts prompts;
    app.setPrompts(&prompts);
    TfrmWeb window(prompts);
    ImagesPage *page = openImagesPage(window);
    page->btnImagen1Click();
    PictureSlot *slot = page->slot(1);
    QCoreApplication::processEvents();
    const qint64 before = peakResidentKiB();

    for (int round = 0; round < rounds; ++round) {
        for (Crafted &file : files) {
            QEventLoop loop;
            QObject::connect(slot, &PictureSlot::stillRead, &loop, &QEventLoop::quit);
            GapMeter meter;
            QElapsedTimer clock;
            clock.start();
            slot->pickName(file.name);
            loop.exec();
            file.seconds.append(clock.nsecsElapsed() / 1e9);
            file.gaps.append(meter.longest());
        }
    }
    const qint64 peak = peakResidentKiB();
    std::printf("what the user is told: %s\n", qPrintable(prompts.lastMessage));
    bool met = true;
    for (const Crafted &file : files) {
        met = met && median(file.gaps) <= 50;
        std::printf("%s, pick to refused (s): %s; longest UI-thread gap (goal <= 50 ms): %s ms\n",
                    qPrintable(file.name), spread(file.seconds).constData(),
                    spread(file.gaps, 1).constData());
    }
    std::printf("peak resident memory (goal <= 200 MB): %.1f MB (%.1f MB before the picks): %s\n",
                peak / 1024.0, before / 1024.0, met && peak <= 200 * 1024 ? "met" : "MISSED");

    if (arguments.contains(QStringLiteral("--peer"))) {
        for (const Crafted &file : files) {
            QElapsedTimer clock;
            clock.start();
            const QSize size = QImageReader(dir.filePath(file.name)).size();
            std::printf("peer, %s: Qt's reader gives the size %dx%d in %.2f s on the UI thread; "
                        "peak memory %.1f MB\n",
                        qPrintable(file.name), size.width(), size.height(),
                        clock.nsecsElapsed() / 1e9, peakResidentKiB() / 1024.0);
        }
    }
    return 0;
}
