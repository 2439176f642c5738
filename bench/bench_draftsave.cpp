// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the user's work while the window runs, with a central text of
// 100,000 lines. The wizard window (offscreen) stands on page 4 with the text;
// every 150 ms a changed title and Anterior or Siguiente leave a page, which
// saves a draft. A precise 10 ms timer on the user-interface thread records
// its longest gap over the whole run, until the last save is on disk. The
// peer is the same save done the naive way, composed and written on the
// user-interface thread.
//
//   bench_draftsave [SAVES]          (default 20)

#include "bench/BenchPrompts.h"
#include "bench/BenchStats.h"
#include "page/SavedWork.h"
#include "wizard/SavedWorkKeeper.h"
#include "wizard/TfrmWeb.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// The longest interval between the ticks of a 10 ms timer while it runs.
class GapMeter : public QObject {
public:
    GapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
            m_clock.restart();
        });
        m_clock.start();
        m_timer.start();
    }
    double longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};

QString centralText()
{
    QString text;
    for (int line = 0; line < 100000; ++line)
        text += QStringLiteral(u"Línea %1 del texto central, con acentos: áéíóú ñ\n").arg(line);
    return text;
}

// Leaves a page `saves` times, one every 150 ms, and returns the longest gap
// until every save is done. ours: through the window's own draft save; else
// the peer, composed and written at each leave on this thread.
double run(TfrmWeb &window, const QString &folder, int saves, bool ours, QList<double> &uiCosts)
{
    auto *title = window.findChild<QLineEdit *>(QStringLiteral("txtTitol"));
    int asked = 0;
    int done = 0;
    QEventLoop loop;
    QMetaObject::Connection finished =
        QObject::connect(&window.savedWork().writer(), &SavedWorkWriter::saved, [&] {
            if (++done == saves && ours)
                loop.quit();
        });
    GapMeter meter;
    QTimer pace;
    pace.setInterval(150);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        QElapsedTimer cost;
        cost.start();
        title->setText(QStringLiteral("Título %1 %2").arg(ours).arg(asked));
        if (ours) {
            if (window.pageIndex() == 4)
                window.btnSiguienteClick();
            else
                window.btnAnteriorClick();
        } else {
            SavedWork::write(
                folder, SavedWork::toJson(window.settings(), QDateTime::currentDateTime(), true));
        }
        uiCosts.append(cost.nsecsElapsed() / 1e6);
        if (++asked == saves) {
            pace.stop();
            if (!ours)
                QTimer::singleShot(100, &loop, &QEventLoop::quit);
        }
    });
    pace.start();
    loop.exec();
    QObject::disconnect(finished);
    return meter.longest();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int saves = argc > 1 ? QByteArray(argv[1]).toInt() : 20;
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    BenchPrompts prompts;
    TfrmWeb window(prompts);
    window.show();
    window.btnSiguienteClick();
    window.findChild<QLineEdit *>(QStringLiteral("txtTitol"))->setText(QStringLiteral("Título"));
    while (window.pageIndex() < 4)
        window.btnSiguienteClick();
    window.findChild<QPlainTextEdit *>(QStringLiteral("txtLibre"))->setPlainText(centralText());
    window.buildAllPages();
    QCoreApplication::processEvents();

    QList<double> oursLongest, peerLongest, oursUi, peerUi;
    for (int round = 0; round < 3; ++round) {
        oursLongest.append(run(window, folder.path(), saves, true, oursUi));
        peerLongest.append(run(window, folder.path(), saves, false, peerUi));
    }
    const QFileInfo file(QDir(folder.path()).filePath(SavedWork::fileName()));
    std::printf("saved-work file: %.1f MB\n", file.size() / 1e6);
    std::printf("longest UI-thread gap while saving %d drafts (goal <= 50 ms): ours %.1f ms "
                "(median of 3 runs; each run's: %.1f %.1f %.1f), composed and written on the "
                "UI thread %.1f ms\n",
                saves, median(oursLongest), oursLongest[0], oursLongest[1], oursLongest[2],
                median(peerLongest));
    std::printf("UI-thread time of one leave with its save: ours median %.1f ms, highest %.1f ms; "
                "on the UI thread median %.1f ms\n",
                median(oursUi), *std::max_element(oursUi.begin(), oursUi.end()), median(peerUi));
    return 0;
}
