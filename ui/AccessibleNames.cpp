// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {

// How far a label may lie from the control it names.
constexpr int kMaxGapLeft = 160;
constexpr int kMaxGapAbove = 24;

// A button or box is named by its own caption.
bool hasName(const QWidget *widget)
{
    if (!widget->accessibleName().trimmed().isEmpty())
        return true;
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return button && !button->text().trimmed().isEmpty();
}

// A caption as it is read out: without the "&" that marks its letter.
QString spoken(const QString &caption)
{
    QString text = caption;
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text.simplified();
}

bool isCaption(const QLabel *label)
{
    return !label->text().trimmed().isEmpty() && !label->buddy();
}

// The label at the left on the same line, else the nearest one just above.
QLabel *labelFor(const QWidget *control)
{
    const QRect place = control->geometry();
    QLabel *best = nullptr;
    int bestGap = 0;
    for (QObject *child : control->parentWidget()->children()) {
        auto *label = qobject_cast<QLabel *>(child);
        if (!label || !isCaption(label))
            continue;
        const QRect text = label->geometry();
        const int middle = text.center().y();
        int gap = -1;
        if (middle >= place.top() && middle <= place.bottom() && text.right() < place.left())
            gap = place.left() - text.right();
        if (gap > kMaxGapLeft)
            gap = -1;
        if (gap < 0 && text.bottom() <= place.top() + 2 &&
            place.top() - text.bottom() <= kMaxGapAbove && text.left() < place.right() &&
            text.right() > place.left())
            gap = kMaxGapLeft + place.top() - text.bottom(); // a label at the left comes first
        if (gap >= 0 && (!best || gap < bestGap)) {
            best = label;
            bestGap = gap;
        }
    }
    return best;
}

} // namespace

bool AccessibleNames::takesFocus(const QWidget *widget)
{
    if (!(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
        return false;
    const QWidget *parent = widget->parentWidget();
    for (; parent; parent = parent->parentWidget()) {
        if (qobject_cast<const QComboBox *>(parent) ||
            qobject_cast<const QAbstractSpinBox *>(parent) ||
            qobject_cast<const QAbstractItemView *>(parent))
            return false;
        if (parent->isWindow())
            break;
    }
    return true;
}

void AccessibleNames::nameControls(QWidget *root)
{
    // The name is set outright rather than left to the toolkit, which finds
    // a buddy's text for an edit box but not for a list or a table.
    for (QWidget *control : root->findChildren<QWidget *>()) {
        if (control->window() != root->window() || !takesFocus(control) || hasName(control))
            continue;
        if (QLabel *label = labelFor(control)) {
            label->setBuddy(control);
            control->setAccessibleName(spoken(label->text()));
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(control->parentWidget())) {
            control->setAccessibleName(spoken(frame->title()));
        }
    }
}
