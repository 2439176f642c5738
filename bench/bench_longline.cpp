// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a text file that is one single line into the central text box.
// For each line length a fresh process (so that its peak memory is its own)
// shows page 4 on its own, offscreen, imports a file holding one line of that
// length with the page's own import button and reports:
//   import   the click handler: reading, decoding and filling the box
//   shown    from there until the box has been drawn
//   end      Ctrl+End (to the end of the line) until drawn again
//   key      one letter typed there until drawn again
//   peak     VmHWM of the process, and before the import
//
//   bench_longline [LENGTH...]          (default 10000 100000 1000000 10000000)
//
// A line that the page refuses is reported as such, with the time the
// refusal took and the peak memory.

#include "bench/BenchPrompts.h"
#include "bench/ProcStatus.h"
#include "wizard/CentralTextPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The import dialog answers with one file.
class ImportPrompts : public BenchPrompts {
public:
    QString file;
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return file;
    }
};

// Counts the paints of the box's viewport.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Milliseconds until the viewport has been painted once more, handling
// every event that is waiting meanwhile.
double untilPainted(QWidget *viewport, PaintCounter &counter, QElapsedTimer &clock)
{
    const int before = counter.paints;
    viewport->update();
    while (counter.paints == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return clock.nsecsElapsed() / 1e6;
}

void sendKey(QWidget *target, int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

int measureOne(int argc, char **argv, qsizetype length, const QString &file)
{
    QApplication app(argc, argv);
    ImportPrompts prompts;
    prompts.file = file;
    CentralTextPage page(prompts, nullptr);
    page.show();
    PaintCounter counter;
    page.txtLibre->viewport()->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();
    untilPainted(page.txtLibre->viewport(), counter, clock);
    const qint64 peakBefore = peakResidentKiB();

    clock.restart();
    page.btnImportaClick();
    const double import = clock.nsecsElapsed() / 1e6;
    if (prompts.messages > 0) {
        std::printf("%11lld  import %9.1f ms  refused  peak %8.1f MiB (before %.1f): %s\n",
                    static_cast<long long>(length), import, peakResidentKiB() / 1024.0,
                    peakBefore / 1024.0, qPrintable(prompts.lastMessage.section(u'\n', 1)));
        return 0;
    }
    clock.restart();
    const double shown = untilPainted(page.txtLibre->viewport(), counter, clock);
    page.txtLibre->setFocus();
    clock.restart();
    sendKey(page.txtLibre, Qt::Key_End, Qt::ControlModifier);
    const double end = untilPainted(page.txtLibre->viewport(), counter, clock);
    clock.restart();
    sendKey(page.txtLibre, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    const double key = untilPainted(page.txtLibre->viewport(), counter, clock);
    if (page.text().size() != length + 1)
        std::printf("unexpected text length %lld\n", static_cast<long long>(page.text().size()));
    std::printf("%11lld  import %9.1f ms  shown %9.1f ms  end %9.1f ms  key %9.1f ms  "
                "peak %8.1f MiB (before %.1f)\n",
                static_cast<long long>(length), import, shown, end, key, peakResidentKiB() / 1024.0,
                peakBefore / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--one") == 0)
        return measureOne(argc, argv, QByteArray(argv[2]).toLongLong(),
                          QString::fromLocal8Bit(argv[3]));

    QList<qsizetype> lengths;
    for (int i = 1; i < argc; ++i)
        lengths.append(QByteArray(argv[i]).toLongLong());
    if (lengths.isEmpty())
        lengths = {10000, 100000, 1000000, 10000000};

    QTemporaryDir folder;
    for (const qsizetype length : lengths) {
        const QString file = folder.filePath(QStringLiteral("linea.TXT"));
        QFile out(file);
        QByteArray line;
        line.reserve(length);
        const QByteArray words("Una sola l\xednea sin saltos, con acentos: \xe1\xe9\xed\xf3\xfa. ");
        while (line.size() < length)
            line += words;
        line.truncate(length);
        if (!out.open(QIODevice::WriteOnly) || out.write(line) != line.size())
            return 1;
        out.close();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QString::fromLocal8Bit(argv[0]),
                    {QStringLiteral("--one"), QString::number(length), file});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            return 1;
        std::fflush(stdout);
    }
    return 0;
}
