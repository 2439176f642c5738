// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/WizardStyle.h"

#include "ui/Artwork.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace WizardStyle {

QLineEdit *lineEdit(QWidget *parent, const QString &objectName, int limit)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(limit);
    return edit;
}

void colourCaption(QGroupBox *frame, const QColor &colour)
{
    // The caption takes the frame's text colour; the controls inside keep
    // their own palette so only the caption turns maroon.
    const QColor inner = textColour(frame);
    setTextColour(frame, colour);
    for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        setTextColour(child, inner);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

QAbstractButton *pictureButton(QWidget *parent, const QString &objectName, const QString &caption,
                               const QString &picture)
{
    auto *button = new QPushButton(artworkIcon(picture), caption, parent);
    button->setObjectName(objectName);
    return button;
}

} // namespace WizardStyle
