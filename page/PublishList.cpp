// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PublishList.h"

#include "page/ColourScheme.h"
#include "page/MakerInfo.h"
#include "page/TextRules.h"

namespace {
void addIfChosen(QList<PublishEntry> &entries, const QString &fileName, const char16_t *label)
{
    if (isBlank(fileName))
        return;
    entries.append({fileName, trimmedText(fileName) + QString::fromUtf16(label)});
}
} // namespace

QList<PublishEntry> publishList(const PageSettings &settings, const QString &pageFileName)
{
    QList<PublishEntry> entries;
    entries.append({pageFileName, pageFileName + QStringLiteral(u" (Página WEB)")});
    const QString background = QString::fromUtf16(schemeFor(settings).backgroundFile);
    entries.append({background, background + QStringLiteral(" (Imagen de Fondo)")});
    addIfChosen(entries, settings.stSonido, u" (Sonido Fondo)");
    addIfChosen(entries, settings.lblNombreImagen1, u" (Imagen 1)");
    addIfChosen(entries, settings.lblNombreImagen2, u" (Imagen 2)");
    addIfChosen(entries, settings.lblNombreImagen3, u" (Imagen 3)");
    entries.append({badgeFileName(), badgeFileName() + QStringLiteral(" (Enlace Brenzo)")});
    return entries;
}

QStringList publishFileNames(const QList<PublishEntry> &entries)
{
    QStringList names;
    for (const PublishEntry &entry : entries)
        names.append(entry.fileName);
    return names;
}

QStringList finishRows(const QList<PublishEntry> &entries)
{
    QStringList rows;
    for (const PublishEntry &entry : entries)
        rows.append(entry.finishRow);
    return rows;
}
