// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, as its entry does it, ending as soon as the
// wizard window has been drawn. Kept step for step with app/main.cpp.

#include "app/Program.h"
#include "bench/startup_shown.h"
#include "ui/BrenzoApplication.h"

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);
    Program program(app);
    FirstPaintExit shown(&program.mainWindow());
    program.show();
    return app.exec();
}
