// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wizard/ImagesPage.h"
#include "wizard/TfrmWeb.h"

#include <QCoreApplication>
#include <QLineEdit>

// Shows the wizard and goes to the images page as a user does: a title on
// page 1, then Siguiente up to page 5.
inline ImagesPage *openImagesPage(TfrmWeb &window)
{
    window.show();
    window.btnSiguienteClick();
    window.findChild<QLineEdit *>(QStringLiteral("txtTitol"))->setText(QStringLiteral("Título"));
    while (window.pageIndex() < 5)
        window.btnSiguienteClick();
    QCoreApplication::processEvents();
    return window.findChild<ImagesPage *>();
}
