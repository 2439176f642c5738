// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/GenerationRun.h"

#include "page/ColourScheme.h"
#include "page/MobilePageWriter.h"
#include "page/PageWriter.h"

#include <QDir>

GenerationResult runGeneration(const PageSettings &settings, const QString &startupFolder,
                               const PageClock &clock, const QLocale &locale)
{
    GenerationResult result;
    const QString path = QDir(startupFolder).filePath(settings.txtHTML);
    const auto write = settings.chkMovil ? WriteMobilePage : WritePage;
    result.written = write(settings, schemeFor(settings), path, clock, locale);
    result.entries = publishList(settings, settings.txtHTML);
    return result;
}
