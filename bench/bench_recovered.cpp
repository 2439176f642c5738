// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up with crafted saved work, against the same start without any: the
// window must appear within a second of it whatever the folder's saved-work
// file holds. Each case starts the program (bench_startup_brenzo, and
// bench_startup_missing for the last) in a folder of its own, copied from
// FOLDER, alternately, and reports the time to the first drawn window and
// the peak resident memory:
//   - no saved work;
//   - a saved-work file of 256 MB (one picture name filling it);
//   - one of the largest size the program reads, the same way;
//   - one naming four missing files of 255 characters, all it can name;
//   - the welcome line naming 1,000 missing files of 255 characters.
// A file the program takes as damaged is set aside at its start; it is put
// back before the next one.
//
//   bench_recovered FOLDER [ROUNDS]          (default 11)

#include "bench/BenchStats.h"
#include "bench/startup_run.h"
#include "page/SavedWork.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct Case {
    const char *what;
    const char *program;
    QString folder;
    QList<double> ms;
    QList<double> peakMiB;
};

QString copyOf(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QString &name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name));
    return to;
}

// A saved-work file of the given size, or as small as the names make it.
void writeSavedWork(const QString &folder, const QList<QByteArray> &names, qint64 size = 0)
{
    QByteArray json = R"({"formato": 1, "pagina": {"txtHTML": "index.htm")";
    const char *keys[] = {"lblNombreImagen1", "lblNombreImagen2", "lblNombreImagen3", "stSonido"};
    for (qsizetype i = 0; i < names.size(); ++i)
        json += QByteArray(", \"") + keys[i] + "\": \"" + names[i] + '"';
    const QByteArray end = "}}\n";
    if (size > 0) {
        json.chop(1); // the last name's closing quote
        json += QByteArray(size - json.size() - end.size() - 1, 'n') + '"';
    }
    QFile file(QDir(folder).filePath(SavedWork::fileName()));
    if (!file.open(QIODevice::WriteOnly) || file.write(json + end) != json.size() + end.size())
        std::abort();
}

// Puts back a saved-work file the last start set aside as damaged.
void putBack(const QString &folder)
{
    const QDir dir(folder);
    const QString aside = dir.filePath(QStringLiteral("mi-pagina-no-leida.brenzo"));
    if (QFile::exists(aside))
        QFile::rename(aside, dir.filePath(SavedWork::fileName()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
        return 2;
    }
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 11;
    QTemporaryDir work;
    const QString none = copyOf(folder, work.filePath(QStringLiteral("ninguno")));
    const QByteArray longName = QByteArray(251, 'n') + ".gif";
    QList<Case> cases = {
        {"no saved work", BENCH_STARTUP_BRENZO, none, {}, {}},
        {"saved work of 256 MB",
         BENCH_STARTUP_BRENZO,
         copyOf(folder, work.filePath(QStringLiteral("grande"))),
         {},
         {}},
        {"saved work of the largest size read",
         BENCH_STARTUP_BRENZO,
         copyOf(folder, work.filePath(QStringLiteral("limite"))),
         {},
         {}},
        {"four missing names of 255 characters",
         BENCH_STARTUP_BRENZO,
         copyOf(folder, work.filePath(QStringLiteral("cuatro"))),
         {},
         {}},
        {"1,000 missing names of 255 characters", BENCH_STARTUP_MISSING, none, {}, {}},
    };
    writeSavedWork(cases[1].folder, {"x"}, 256ll * 1024 * 1024);
    writeSavedWork(cases[2].folder, {"x"}, SavedWork::kLargestFile);
    writeSavedWork(cases[3].folder, {longName, longName, longName, longName});

    // One start of each first, not counted: it fills the system's file cache.
    for (int round = -1; round < rounds; ++round) {
        for (Case &each : cases) {
            putBack(each.folder);
            const StartFigures figures =
                startOnce(each.program, each.folder.toLocal8Bit().constData());
            if (round >= 0) {
                each.ms.append(figures.ms);
                each.peakMiB.append(figures.peakMiB);
            }
        }
    }
    const double base = median(cases.first().ms);
    for (const Case &each : cases) {
        const double more = median(each.ms) - base;
        std::printf("%s: %s ms (min / median / max of %d), peak memory %s MiB; "
                    "median minus no saved work %.1f ms, goal <= 1000 ms: %s\n",
                    each.what, spread(each.ms, 1).constData(), rounds,
                    spread(each.peakMiB, 1).constData(), more, more <= 1000 ? "met" : "MISSED");
    }
    return 0;
}
