// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedWorkWriter.h"

#include "SavedWork.h"

SavedWorkWriter::SavedWorkWriter(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder)
{
    // A single thread takes the saves one after the other: two never race
    // for the file, and the last one asked for is the one the file keeps.
    m_pool.setMaxThreadCount(1);
}

SavedWorkWriter::~SavedWorkWriter()
{
    // Before the QObject goes: the saves still refer to it.
    m_pool.waitForDone();
}

void SavedWorkWriter::save(const PageSettings &settings, const QDateTime &savedAt, bool draft)
{
    m_pool.start([this, settings, savedAt, draft] {
        const bool ok = SavedWork::write(m_folder, SavedWork::toJson(settings, savedAt, draft));
        QMetaObject::invokeMethod(
            this, [this, ok] { emit saved(ok); }, Qt::QueuedConnection);
    });
}
