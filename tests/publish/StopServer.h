// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

// Ends a test's server by its own process: asked to stop, then killed if it
// has not within `patience`. Harmless when it is not running.
inline void stopServer(QProcess &process, int patience = 5000)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(patience))
        process.kill();
    process.waitForFinished(5000);
}
