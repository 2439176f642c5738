// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the command line, the application title, the three
// windows in their order, and the message loop until the wizard window
// closes.

#include "app/CommandLine.h"
#include "app/Program.h"
#include "ui/BrenzoApplication.h"

int main(int argc, char **argv)
{
    if (const auto status = CommandLine::answerWithoutWindow(argc, argv))
        return *status;
    BrenzoApplication app(argc, argv);
    if (const auto status = CommandLine::enterWorkingFolder(QCoreApplication::arguments()))
        return *status;
    Program program(app);
    program.show();
    return app.exec();
}
