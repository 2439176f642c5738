// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The longest interval between the ticks of a precise 1 ms timer on the
// user-interface thread while it lives: how long the window went without
// answering.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <algorithm>

class GapMeter : public QObject {
public:
    GapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
            m_clock.restart();
        });
        m_clock.start();
        m_timer.start();
    }
    void restart()
    {
        m_longest = 0;
        m_clock.restart();
    }
    double longest()
    {
        // The tick after the last stretch of work closes it.
        QEventLoop settle;
        QTimer::singleShot(5, &settle, &QEventLoop::quit);
        settle.exec();
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};
