// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "photo/PhotoFacts.h"

#include <QGroupBox>

class AnimatedPreview;
class ElidedLabel;
class FileList;
class QLabel;
class QLineEdit;
class StillPreview;

// One of the three picture places of the images page: the group box with its
// file list, the chosen name, the link address (pictures 1 and 2 only), the
// sketch of where the picture goes on the page, and the two previews.
class PictureSlot : public QGroupBox {
    Q_OBJECT

public:
    // number is 1, 2 or 3; the controls are named after it (lstImagen2...).
    PictureSlot(int number, const QString &startupFolder, QWidget *parent);

    int number() const { return m_number; }

    // Shows the start-up folder; the list reads it the first time only.
    void open();

    // The file the user put the selection on becomes the chosen one and is
    // previewed, unless it needs a copy for the web (copyNeeded() then): a GIF at once, a still
    // picture once it is read off the user-interface thread (stillRead() then follows), the box
    // saying meanwhile that it is being read. A picture that cannot be decoded reports
    // ProgramError's text in the general error box: the name stays chosen and no preview shows. A
    // pick drops the read of the one before.
    void pick();

    // Empties the name and the address and reads a list that was ever shown
    // again. The previews are left as they are; a read still going is
    // dropped.
    void clear();

    // Chooses the picture of that name from the start-up folder as a pick
    // in the list does, and types the address; an empty name, or one the
    // list does not show, leaves the slot empty of a picture.
    void restore(const QString &name, const QString &address);

    QString chosenName() const;
    QString address() const;

    // Picks the replacement as a click in the list does, if the original is
    // still the file picked here.
    void replacePick(const QString &original, const QString &replacement);
    // Puts the list's selection back on the chosen picture, if the original
    // is still the file picked here: a picture that needs a copy for the web
    // was picked and none was made.
    void dropPick(const QString &original);
    // A list shown already reads the folder again (a file was added).
    void refreshList();
    // Puts the selection on the file of that name, as a click would.
    bool pickName(const QString &name);

private:
    ElidedLabel *lblDir = nullptr;
    FileList *lstImagen = nullptr;
    ElidedLabel *lblNombreImagen = nullptr;
    QLineEdit *txtImagen = nullptr; // none for picture 3
    StillPreview *imgJPG = nullptr;
    AnimatedPreview *RXGIF = nullptr;

signals:
    // The user picked a still picture and its preview shows (not when saved
    // work is put back), with what its header and metadata say.
    void photoPicked(const QString &path, const PhotoFacts &facts);
    // The user picked a picture the page can only show through a copy for
    // the web (HEIC, HEIF, PNG, WebP), with what its header and metadata
    // say. The slot keeps its chosen picture and preview meanwhile.
    void copyNeeded(const QString &path, const PhotoFacts &facts);
    // The read of a still picture ended: its preview shows, or the general
    // error box said why not.
    void stillRead();

private:
    struct StillPicture;

    void addSketch();
    void readStill(const QString &path);
    void readForCopy(const QString &path);
    void showStill(const QString &path, const StillPicture &read, bool offer);
    void dropRead();

    int m_number;
    QString m_startupFolder;
    bool m_restoring = false;
    quint64 m_picks = 0;    // a read that ends after a later pick is dropped
    quint64 m_allPicks = 0; // the same for the facts of a picture needing a copy
    bool m_reading = false; // the still preview says it is being read
};
