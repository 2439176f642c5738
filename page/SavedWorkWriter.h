// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/WriterThread.h"
#include "page/PageSettings.h"

#include <QDateTime>
#include <QObject>
#include <QString>

// Saves the user's work into the start-up folder on a thread of its own. The
// window only copies the settings (their texts are shared, not copied); the
// file is composed and written here, so a central text of many thousands of
// lines never holds up the window. One save at a time, in the order asked
// for, so the file ends with the last settings asked for. Destroying the
// writer waits for the saves still pending: a close loses nothing.
class SavedWorkWriter : public QObject {
    Q_OBJECT

public:
    explicit SavedWorkWriter(const QString &folder, QObject *parent = nullptr);

    // Returns at once; draft is false when the page was written with these
    // settings.
    void save(const PageSettings &settings, const QDateTime &savedAt, bool draft);

signals:
    // Once per save, on the writer's own thread of affinity, after the file
    // was written (ok) or could not be.
    void saved(bool ok);

private:
    QString m_folder;
    WriterThread m_thread;
};
