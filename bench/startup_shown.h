// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The moment a program's first window is drawn, for the start-up benchmark:
// the time is printed (CLOCK_MONOTONIC, in nanoseconds, the clock the parent
// read before starting the process) and the process ends at once, since
// tearing down is not part of starting up.

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

class FirstPaintExit : public QObject {
public:
    explicit FirstPaintExit(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            // The window and its children are painted and flushed in this
            // same pass; the next turn of the event loop comes after it.
            watched->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }
};
