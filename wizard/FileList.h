// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// The files of one folder whose names match a mask such as "*.MID;*.WAV":
// bare names, regular files only (no links), in alphabetical order, one
// selectable. The folder
// is read when the list is first pointed at it and again only on request,
// so files added in between appear only then.
class FileList : public QListWidget {
    Q_OBJECT

public:
    FileList(const QString &objectName, const QString &mask, QWidget *parent);

    // Points the list at a folder. A list that already shows that folder
    // keeps its items and its selection.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    bool hasBeenRead() const { return m_read; }

    // Reads the folder again; no item is left selected.
    void reread();
    // Reads the folder again and keeps the selected file selected, without
    // a picked().
    void refresh();

    // The selected file: its bare name and its path (folder, separator, name),
    // both empty when nothing is selected.
    QString selectedName() const;
    QString selectedPath() const;

    // Puts the selection on the file of that name as a user's pick does
    // (picked() follows); false when the list does not show it.
    bool pickName(const QString &name);
    // Puts the selection back on the file of that name, or on none when the
    // list does not show it, without a picked().
    void selectQuietly(const QString &name);

    // Shows the system's small file icon before each name.
    void setShowIcons(bool show) { m_showIcons = show; }

    // Gives every row this height in pixels instead of the style's.
    void setRowHeight(int height) { m_rowHeight = height; }

    // The names of the folder's files that match the mask, as the list shows
    // them.
    static QStringList matchingFiles(const QString &folder, const QString &mask);

signals:
    // The user changed the selection (by mouse or keyboard): put it on a
    // file, or emptied it.
    void picked();

private:
    void onSelectionChanged();

    QString m_mask;
    QString m_folder;
    bool m_read = false;
    bool m_reading = false;
    bool m_showIcons = false;
    int m_rowHeight = 0;
};
