// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/FileList.h"

#include <QCollator>
#include <QDir>
#include <QFileIconProvider>

FileList::FileList(const QString &objectName, const QString &mask, QWidget *parent)
    : QListWidget(parent), m_mask(mask)
{
    setObjectName(objectName);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileList::onSelectionChanged);
}

QStringList FileList::matchingFiles(const QString &folder, const QString &mask)
{
    QStringList patterns;
    for (const QString &part : mask.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (!pattern.isEmpty())
            patterns.append(pattern);
    }
    // Without QDir::CaseSensitive the patterns match any mix of capitals,
    // so "Foto.Gif" is a "*.GIF" as it is on the system the pages are for.
    // A link is never offered: what it points to (a file of the user's
    // anywhere) would be shown and published under the link's name.
    QStringList names =
        QDir(folder).entryList(patterns, QDir::Files | QDir::NoSymLinks, QDir::NoSort);
    // Alphabetical as a Spanish reader expects it ("árbol" before "barco"),
    // whatever locale the machine runs in.
    QCollator collator{QLocale(QLocale::Spanish, QLocale::Spain)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    names.removeDuplicates();
    return names;
}

void FileList::setFolder(const QString &folder)
{
    if (m_read && folder == m_folder)
        return;
    m_folder = folder;
    reread();
}

void FileList::reread()
{
    m_reading = true;
    clear();
    QFileIconProvider icons;
    const QDir dir(m_folder);
    for (const QString &name : matchingFiles(m_folder, m_mask)) {
        auto *item = new QListWidgetItem(name, this);
        if (m_showIcons)
            item->setIcon(icons.icon(QFileInfo(dir.filePath(name))));
        if (m_rowHeight > 0)
            item->setSizeHint(QSize(fontMetrics().horizontalAdvance(name) + 8, m_rowHeight));
    }
    setCurrentRow(-1);
    m_read = true;
    m_reading = false;
}

void FileList::refresh()
{
    const QString chosen = selectedName();
    reread();
    selectQuietly(chosen);
}

void FileList::selectQuietly(const QString &name)
{
    m_reading = true;
    if (!pickName(name)) {
        clearSelection();
        setCurrentRow(-1);
    }
    m_reading = false;
}

QString FileList::selectedName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

QString FileList::selectedPath() const
{
    const QString name = selectedName();
    return name.isEmpty() ? QString() : QDir(m_folder).filePath(name);
}

bool FileList::pickName(const QString &name)
{
    const QList<QListWidgetItem *> found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    setCurrentItem(found.first());
    return true;
}

void FileList::onSelectionChanged()
{
    // Every change the user makes is a choice, an emptied selection (Ctrl
    // and a click on the chosen file) included; re-reading the folder, which
    // empties the selection, is not.
    if (!m_reading)
        emit picked();
}
