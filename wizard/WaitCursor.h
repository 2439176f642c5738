// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The hourglass pointer for as long as the object lives: restored on every
// path out of the scope, an exception included.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
