// SPDX-License-Identifier: GPL-3.0-or-later
#include "GenerationRun.h"

#include "ColourScheme.h"
#include "PageWriter.h"

#include <QDir>

GenerationResult runGeneration(const PageSettings &settings, const QString &startupFolder,
                               const PageClock &clock, const QLocale &locale)
{
    GenerationResult result;
    result.written = WritePage(settings, schemeFor(settings),
                               QDir(startupFolder).filePath(settings.txtHTML), clock, locale);
    result.entries = publishList(settings, settings.txtHTML);
    return result;
}
