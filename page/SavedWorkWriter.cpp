// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/SavedWorkWriter.h"

#include "page/SavedWork.h"

#include <memory>

SavedWorkWriter::SavedWorkWriter(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder)
{
}

void SavedWorkWriter::save(const PageSettings &settings, const QDateTime &savedAt, bool draft)
{
    auto ok = std::make_shared<bool>(false);
    m_thread.run(
        [folder = m_folder, settings, savedAt, draft, ok] {
            *ok = SavedWork::write(folder, SavedWork::toJson(settings, savedAt, draft));
        },
        [this, ok] { emit saved(*ok); });
}
