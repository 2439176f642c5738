// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"
#include "page/SavedWork.h"
#include "page/SavedWorkWriter.h"

#include <QObject>

#include <optional>

// Keeps the user's work in the start-up folder for the wizard window: finds
// what an earlier session left, and saves the settings when the page is
// written and, as a draft, when the user leaves a page or closes the window.
// A draft equal to what the file already holds is not written again.
class SavedWorkKeeper : public QObject {
    Q_OBJECT

public:
    SavedWorkKeeper(const QString &startupFolder, QObject *parent);

    // Reads the folder's saved work. An unreadable file is moved aside under
    // another name (setAsideName()); when it cannot be moved, nothing is
    // saved over it while the window lives.
    SavedWork::Found restore();
    QString setAsideName() const { return m_setAsideName; }

    // After a successful page write: always saved.
    void savePage(const PageSettings &settings);
    // On leaving a page or closing: saved when it differs from the file. A
    // folder that cannot be written is not reported: the page write reports
    // it, and the next save tries again.
    void saveDraft(const PageSettings &settings);

    SavedWorkWriter &writer() { return m_writer; }

    // The line page 0 shows about work found at start.
    static QString recoveredLine(const SavedWork::Found &found);
    // The box shown when the file could not be read.
    static QString unreadableMessage(const QString &setAsideName);

private:
    void save(const PageSettings &settings, bool draft);

    QString m_folder;
    SavedWorkWriter m_writer;
    std::optional<PageSettings> m_inFile; // none: unknown, the next save writes
    bool m_mayWrite = true;
    QString m_setAsideName;
};
