// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QDialog>
#include <QList>

class QFrame;
class LinkLabel;
class QLabel;
class UserPrompts;

// "Otros Programas": three panels that present the maker's other programs,
// each with its picture, headline and paragraph, and one link to the maker's
// home page. Created hidden once at start-up and shown modally from the
// finish page as often as the user likes; it keeps no state between showings.
class TfrmOtros : public QDialog {
    Q_OBJECT

public:
    explicit TfrmOtros(UserPrompts &prompts, QWidget *parent = nullptr);

    // The link: red while the browser is being started, blue again after.
    void Label8Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QFrame *addPanel(const QString &name, const QRect &place);
    QLabel *addPicture(QFrame *panel, const QString &name, const QPoint &place, const QString &icon,
                       const QString &title, const QColor &tint);
    QLabel *addText(QFrame *panel, const QString &name, const QRect &place, const QString &text,
                    bool headline);

    // A program's picture, composed when the window is first shown.
    struct Picture {
        QLabel *label;
        QString icon;
        QString title;
        QColor tint;
    };

    UserPrompts &m_prompts;
    LinkLabel *m_link = nullptr;
    QList<Picture> m_pictures;
};
