// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A one-line label that keeps its whole text but, when the text is wider
// than the label, draws it shortened with "…" so that what shows fits: a
// folder loses its beginning, a file name its middle.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    ElidedLabel(const QString &objectName, Qt::TextElideMode mode, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::TextElideMode m_mode;
};
