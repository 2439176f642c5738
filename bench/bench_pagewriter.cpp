// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a large page (100,000 lines of central text and 20 links) with
// the page writer, against writing the same bytes with one QFile::write.
// Also shown, to tell where the time goes: rendering alone, and the peer made
// as durable as the page writer (the same bytes, then fdatasync), since the
// writer replaces the page through a temporary file that it syncs to disk
// before moving it over the old page.
// Every write starts from a synced disk: otherwise the next synced write
// pays for what the one before left unsynced (the old page freed when the
// new one is moved over it, the unsynced peer's blocks), and the figures
// measure the order of the writes.

#include "bench/BenchStats.h"
#include "page/ColourScheme.h"
#include "page/PageWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 9;

    PageSettings settings;
    settings.txtTitol = QStringLiteral(u"Página de prueba");
    settings.txtEmail = QStringLiteral("ana@correo.example");
    QString text;
    for (int line = 0; line < 100000; ++line)
        text += QStringLiteral(u"Línea %1 del texto central, con acentos: áéíóú ñ\n").arg(line);
    settings.txtLibre = text;
    for (int row = 0; row < kLinkRowCount; ++row)
        settings.GridEnlaces[row] = {QStringLiteral("http://sitio%1.example/").arg(row),
                                     QStringLiteral(u"Sitio número %1").arg(row)};
    const ColourScheme &scheme = schemeFor(settings);
    const QDateTime when(QDate(2026, 12, 8), QTime(17, 0, 0));
    const PageClock clock = [when] { return when; };

    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("ours.htm"));
    const QString peer = dir.filePath(QStringLiteral("peer.htm"));
    const QByteArray bytes = RenderPage(settings, scheme, creationStamp(when, QLocale::system()));

    QList<double> oursMs, peerMs, durablePeerMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        ::sync();
        timer.start();
        if (!WritePage(settings, scheme, ours, clock))
            qFatal("the page could not be written");
        oursMs.append(timer.nsecsElapsed() / 1e6);

        ::sync();
        timer.start();
        QFile file(peer);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("the peer could not write");
        file.close();
        peerMs.append(timer.nsecsElapsed() / 1e6);

        ::sync();
        timer.start();
        QFile durable(peer);
        if (!durable.open(QIODevice::WriteOnly) || durable.write(bytes) != bytes.size() ||
            !durable.flush() || ::fdatasync(durable.handle()) != 0)
            qFatal("the durable peer could not write");
        durable.close();
        durablePeerMs.append(timer.nsecsElapsed() / 1e6);
    }
    QList<double> renderMs;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QByteArray rendered = RenderPage(settings, scheme, QStringLiteral("x"));
        renderMs.append(timer.nsecsElapsed() / 1e6);
    }
    std::printf("page of %lld bytes\n", static_cast<long long>(bytes.size()));
    report("page writing, against the same write followed by fdatasync", oursMs, durablePeerMs,
           "ms", 1.0);
    report("page writing, against one QFile::write", oursMs, peerMs, "ms", 1.5);
    std::printf("rendering alone, min / median / max: %s ms\n", spread(renderMs).constData());
    return 0;
}
