// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/QtUserPrompts.h"

#include "prompts/HelpViewer.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace {
QMessageBox::Icon boxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}
// Adds the lower-case form of every pattern of a filter such as
// "Archivos de Texto (*.TXT)": some desktops' file dialogs match the
// patterns letter for letter, and a file named "notas.txt" is as much a text
// file as "NOTAS.TXT".
QString caseBlindFilter(const QString &filter)
{
    const qsizetype open = filter.lastIndexOf(u'(');
    const qsizetype close = filter.lastIndexOf(u')');
    if (open < 0 || close < open)
        return filter;
    QStringList patterns = filter.mid(open + 1, close - open - 1).split(u' ', Qt::SkipEmptyParts);
    for (const QString &pattern : QStringList(patterns)) {
        for (const QString &form : {pattern.toLower(), pattern.toUpper()})
            if (!patterns.contains(form))
                patterns.append(form);
    }
    return filter.left(open + 1) + patterns.join(u' ') + filter.mid(close);
}

} // namespace

void QtUserPrompts::message(QWidget *parent, const QString &title, const QString &text,
                            PromptIcon icon, const QString &details)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

bool QtUserPrompts::question(QWidget *parent, const QString &title, const QString &text,
                             DefaultAnswer defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtUserPrompts::openFileName(QWidget *parent, const QString &title, const QString &folder,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, folder, caseBlindFilter(filter));
}

void QtUserPrompts::openFile(QWidget *, const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtUserPrompts::openUrl(QWidget *, const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

void QtUserPrompts::showHelp(QWidget *parent, int topic)
{
    HelpViewer::showTopic(parent, m_helpFile, topic);
}
