// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QLabel>

class QMovie;

// A still picture in a box of fixed size: centred, and scaled down with its
// proportions kept when it is larger than the box; never enlarged.
class StillPreview : public QLabel {
    Q_OBJECT

public:
    StillPreview(const QString &objectName, QWidget *parent);

    // A picture decoded for a box, or why it could not be.
    struct Decoded {
        QImage image;  // null when it could not be decoded
        QString error; // the whole message, naming the file
    };

    // Decodes the file at the size it is drawn in a box of that size. Takes
    // a while for a large photo and touches no widget, so it can run on any
    // thread. A JPEG whose headers run on too long is refused unread.
    static Decoded decode(const QString &path, QSize box);

    // Shows a decoded picture; throws ProgramError with the decoder's
    // message when there is none. The preview shows nothing new after a
    // failure.
    void present(const Decoded &decoded);

    // Says in the box that the picture is being read.
    void showReading();

    // The size at which a picture is drawn in a box: its own when it fits.
    static QSize fittedSize(const QSize &picture, const QSize &box);
};

// An animated GIF in a box of fixed size: the frames play in a loop, each for
// its own delay, drawn at their own size and centred. A GIF that asks to be
// played once loops all the same, as every preview should.
class AnimatedPreview : public QLabel {
    Q_OBJECT

public:
    AnimatedPreview(const QString &objectName, QWidget *parent);

    // Loads and starts the file; throws ProgramError with the decoder's
    // message when it cannot.
    void load(const QString &path);

    QMovie *movie() const { return m_movie; }

protected:
    // Frames advance only while the preview can be seen.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QMovie *m_movie = nullptr;
};
