// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

#include <functional>

// A label that acts as a web link: underlined, blue, hand cursor, clicked
// with the left button let go over it.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString &text, QWidget *parent);

    // Pure blue at rest, pure red while pressed.
    void setLinkColour(const QColor &colour);
    QColor linkColour() const;

    // Turns the link red and repaints it at once, runs the action (a shell
    // call that may take a moment), then turns it blue again: the user sees
    // that the click was taken while the browser starts.
    void pressWhile(const std::function<void()> &action);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    // A link given the focus (setFocusPolicy) shows it with the style's
    // focus frame and is clicked with Space or Enter, as a button is.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
