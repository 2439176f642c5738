// SPDX-License-Identifier: GPL-3.0-or-later
#include "photo/PictureFormats.h"

#include <QFileInfo>

namespace {

struct Format {
    const char *suffix;
    const char *name;
    bool needsWebCopy;
};

constexpr Format kFormats[] = {
    {"GIF", "GIF", false},  {"JPG", "JPEG", false}, {"JPEG", "JPEG", false}, {"HEIC", "HEIC", true},
    {"HEIF", "HEIF", true}, {"PNG", "PNG", true},   {"WEBP", "WebP", true},
};

const Format *formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    for (const Format &format : kFormats) {
        if (suffix.compare(QLatin1String(format.suffix), Qt::CaseInsensitive) == 0)
            return &format;
    }
    return nullptr;
}

} // namespace

QString PictureFormats::listMask()
{
    QStringList patterns;
    for (const Format &format : kFormats)
        patterns.append(QStringLiteral("*.") + QLatin1String(format.suffix));
    return patterns.join(u';');
}

bool PictureFormats::needsWebCopy(const QString &fileName)
{
    const Format *format = formatOf(fileName);
    return format && format->needsWebCopy;
}

QString PictureFormats::nameOf(const QString &fileName)
{
    const Format *format = formatOf(fileName);
    return format ? QLatin1String(format->name) : QFileInfo(fileName).suffix().toUpper();
}
