// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QAbstractButton;
class QGroupBox;
class QLineEdit;
class QWidget;

// Small helpers for the look every page shares.
namespace WizardStyle {

inline const QColor kMaroon{128, 0, 0};
inline const QColor kNavy{0, 0, 128};

// A one-line edit that takes at most `limit` characters from the user.
QLineEdit *lineEdit(QWidget *parent, const QString &objectName, int limit);

// Draws a frame's caption in a colour of its own (maroon or navy on these
// pages) while its controls keep theirs; call once the frame holds them.
void colourCaption(QGroupBox *frame, const QColor &colour);

// Sets the colour a widget draws its text in.
void setTextColour(QWidget *widget, const QColor &colour);
QColor textColour(const QWidget *widget);

// A push button with a small picture before its caption.
QAbstractButton *pictureButton(QWidget *parent, const QString &objectName, const QString &caption,
                               const QString &picture);

} // namespace WizardStyle
