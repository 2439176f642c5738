// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// The publishing window's status line: one line of text, with the run's
// progress as a bar that fills behind the text, from the left, in the
// selection colour. No progress known, no bar.
class StatusLine : public QLabel {
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent = nullptr);

    // done of total bytes; a total of 0 takes the bar away.
    void setProgress(qint64 done, qint64 total);
    // The width of the bar in pixels, inside the frame.
    int barWidth() const { return m_barWidth; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_barWidth = 0;
};
