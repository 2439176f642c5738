// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PageSettings.h"

#include "page/TextRules.h"

bool LinkRow::isLink() const
{
    return !isBlank(address);
}

QStringList PageSettings::centralTextLines() const
{
    QStringList lines;
    for (QStringView line : centralTextLineViews())
        lines.append(line.toString());
    return lines;
}

QList<QStringView> PageSettings::centralTextLineViews() const
{
    QList<QStringView> lines;
    const QStringView text(txtLibre);
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        lines.append(text.mid(start, std::min(end - start, kCentralLineLimit)));
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

bool PageSettings::hasCentralText() const
{
    return !isBlank(txtLibre);
}
