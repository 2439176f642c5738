// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up as bench_startup_brenzo runs it, with the welcome
// page's line about recovered work naming 1,000 missing files of 255
// characters each before the window is shown: the longest line page 0 is
// ever asked to fit.

#include "app/Program.h"
#include "bench/startup_shown.h"
#include "ui/BrenzoApplication.h"
#include "wizard/SavedWorkKeeper.h"
#include "wizard/WelcomePage.h"

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    Program program(app);
    SavedWork::Found found;
    found.state = SavedWork::Found::State::Read;
    found.contents.savedAt = QDateTime::currentDateTime();
    for (int number = 0; number < 1000; ++number)
        found.missingFiles.append(QStringLiteral("%1").arg(number, 4, 10, QChar(u'0')) +
                                  QString(247, u'n') + QStringLiteral(".gif"));
    static_cast<WelcomePage *>(program.mainWindow().page(0))
        ->showRecovered(SavedWorkKeeper::recoveredLine(found));
    FirstPaintExit shown(&program.mainWindow());
    program.show();
    return app.exec();
}
