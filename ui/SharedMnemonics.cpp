// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SharedMnemonics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QShortcutEvent>

namespace {

QString captionOf(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->buddy() ? label->text() : QString();
    return {};
}

bool carries(const QWidget *widget, const QKeySequence &key)
{
    const QString caption = captionOf(widget);
    return !caption.isEmpty() && QKeySequence::mnemonic(caption) == key;
}

bool canBePressed(const QWidget *widget)
{
    const auto *label = qobject_cast<const QLabel *>(widget);
    const QWidget *target = label ? label->buddy() : widget;
    return widget->isVisible() && target && target->isVisible() && target->isEnabled();
}

void press(QWidget *widget)
{
    // As the letter of a caption of its own would: a button is clicked, a
    // label sends the focus to its control.
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->animateClick();
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        label->buddy()->setFocus(Qt::ShortcutFocusReason);
    }
}

} // namespace

SharedMnemonics::SharedMnemonics(QWidget *window, const QList<QWidget *> &leading)
    : QObject(window), m_window(window)
{
    for (QWidget *widget : leading)
        m_leading.append(widget);
    // The toolkit sends the shared letter to one of its controls, marked
    // ambiguous; the filter sees it on its way there.
    qApp->installEventFilter(this);
}

QList<QWidget *> SharedMnemonics::carriers(const QKeySequence &key) const
{
    QList<QWidget *> order;
    for (QWidget *widget : m_leading)
        if (widget)
            order.append(widget);
    // Then the window's Tab order, in which every widget has its place (a
    // label just before the control it names).
    for (QWidget *widget = m_window->nextInFocusChain(); widget != m_window;
         widget = widget->nextInFocusChain()) {
        if (!order.contains(widget))
            order.append(widget);
    }

    QList<QWidget *> found;
    for (QWidget *widget : order)
        if (carries(widget, key) && canBePressed(widget))
            found.append(widget);
    return found;
}

bool SharedMnemonics::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Shortcut)
        return false;
    auto *shortcut = static_cast<QShortcutEvent *>(event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!shortcut->isAmbiguous() || !widget || widget->window() != m_window ||
        !carries(widget, shortcut->key()))
        return false;
    const QList<QWidget *> found = carriers(shortcut->key());
    if (!found.isEmpty())
        press(found.first());
    return true;
}
