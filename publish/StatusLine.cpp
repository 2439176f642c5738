// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/StatusLine.h"

#include <QPainter>

StatusLine::StatusLine(QWidget *parent) : QLabel(parent) {}

void StatusLine::setProgress(qint64 done, qint64 total)
{
    const int inside = contentsRect().width();
    const int width =
        total > 0 ? int(double(qBound<qint64>(0, done, total)) / double(total) * inside) : 0;
    // Repainted only when the bar moves by a pixel: counting bytes must not
    // cost the upload anything.
    if (width == m_barWidth)
        return;
    m_barWidth = width;
    update();
}

void StatusLine::paintEvent(QPaintEvent *event)
{
    if (m_barWidth > 0) {
        QPainter painter(this);
        QRect bar = contentsRect();
        bar.setWidth(m_barWidth);
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(90);
        painter.fillRect(bar, fill);
    }
    QLabel::paintEvent(event);
}
