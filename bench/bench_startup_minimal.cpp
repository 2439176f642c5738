// SPDX-License-Identifier: GPL-3.0-or-later
// The peer of the start-up benchmark: the least a Qt Widgets program does to
// show one empty window.

#include "bench/startup_shown.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    FirstPaintExit shown(&window);
    window.show();
    return app.exec();
}
