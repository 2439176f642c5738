// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up benchmark: the minimal peer showing one label of
// text in the wizard's font instead of an empty widget, linked with the same
// Qt libraries as the program (Widgets and Network). It is no goal; it shows
// what any window with text pays before it builds anything: loading the font
// configuration and the first font, and the libraries.

#include "bench/startup_shown.h"

#include <QApplication>
#include <QLabel>
#include <QTcpSocket>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTcpSocket unused; // links the network library, as the program does
    QLabel window(QStringLiteral("Bienvenido"));
    window.setFont(QFont(QStringLiteral("Arial"), 8));
    window.resize(640, 480);
    FirstPaintExit shown(&window);
    window.show();
    return app.exec();
}
