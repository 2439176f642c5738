// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

ElidedLabel::ElidedLabel(const QString &objectName, Qt::TextElideMode mode, QWidget *parent)
    : QLabel(parent), m_mode(mode)
{
    setObjectName(objectName);
    // File and folder names are shown as they are, never as markup.
    setTextFormat(Qt::PlainText);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin() + 2, margin(), -margin() - 2, -margin());
    const QString shown = fontMetrics().elidedText(text(), m_mode, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}
