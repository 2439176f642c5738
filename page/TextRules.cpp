// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/TextRules.h"

namespace {
bool isTrimmable(QChar c)
{
    return c.unicode() <= 32;
}
} // namespace

QString trimmedText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isTrimmable(text[begin]))
        ++begin;
    while (end > begin && isTrimmable(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

bool isBlank(QStringView text)
{
    for (QChar c : text) {
        if (!isTrimmable(c))
            return false;
    }
    return true;
}
