// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/PageChecks.h"

#include "page/TextRules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

bool isValidEmail(const QString &typed)
{
    return typed.contains(u'@') && typed.contains(u'.') && trimmedText(typed).size() > 4;
}

QString normalizedPageFileName(const QString &typed)
{
    QString name = trimmedText(typed);
    for (QChar &c : name) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return name;
}

bool isValidPageFileName(const QString &normalized)
{
    if (!normalized.contains(QStringLiteral(".htm")))
        return false;
    static const QString forbidden = QStringLiteral("/\\:*? ;<>\"");
    // A control character would cut the name short (NUL) or split it.
    return std::none_of(normalized.cbegin(), normalized.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c);
    });
}

bool pageFileExists(const QString &folder, const QString &fileName)
{
    return QFileInfo(QDir(folder).filePath(fileName)).isFile();
}

Page8Verdict checkPage8(PageSettings &settings, const QString &startupFolder)
{
    if (!isValidEmail(settings.txtEmail))
        return Page8Verdict::BadEmail;
    settings.txtHTML = normalizedPageFileName(settings.txtHTML);
    if (!isValidPageFileName(settings.txtHTML))
        return Page8Verdict::BadPageFileName;
    if (pageFileExists(startupFolder, settings.txtHTML))
        return Page8Verdict::AskReplace;
    return Page8Verdict::Ready;
}
