// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QKeySequence;
class QWidget;

// The letter of a caption ("&Siguiente" has Alt+S) presses its control. When
// several controls of a window carry the same letter, the toolkit only moves
// the focus among them; here the letter presses the first enabled, visible
// control that carries it: the leading controls in the order given (a
// navigation bar, left to right), then the others in their Tab order.
// A label carries the letter for the control it names, which gets the focus.
class SharedMnemonics : public QObject {
    Q_OBJECT

public:
    SharedMnemonics(QWidget *window, const QList<QWidget *> &leading);

    // The controls of the window that carry the letter of `key`, in the
    // order the letter tries them; only those enabled and shown count.
    QList<QWidget *> carriers(const QKeySequence &key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QList<QPointer<QWidget>> m_leading;
};
