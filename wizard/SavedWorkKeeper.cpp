// SPDX-License-Identifier: GPL-3.0-or-later
#include "wizard/SavedWorkKeeper.h"

SavedWorkKeeper::SavedWorkKeeper(const QString &startupFolder, QObject *parent)
    : QObject(parent), m_folder(startupFolder), m_writer(startupFolder), m_inFile(PageSettings())
{
    // Until something differs from the first values, a folder without saved
    // work gets no file.
    connect(&m_writer, &SavedWorkWriter::saved, this, [this](bool ok) {
        if (!ok)
            m_inFile.reset();
    });
}

SavedWork::Found SavedWorkKeeper::restore()
{
    SavedWork::Found found = SavedWork::read(m_folder);
    if (found.state == SavedWork::Found::State::Read) {
        m_inFile = found.contents.settings;
    } else if (found.state == SavedWork::Found::State::Unreadable) {
        m_setAsideName = SavedWork::setAside(m_folder);
        m_mayWrite = !m_setAsideName.isEmpty();
    }
    return found;
}

void SavedWorkKeeper::savePage(const PageSettings &settings)
{
    save(settings, false);
}

void SavedWorkKeeper::saveDraft(const PageSettings &settings)
{
    if (m_inFile != settings)
        save(settings, true);
}

void SavedWorkKeeper::save(const PageSettings &settings, bool draft)
{
    if (!m_mayWrite)
        return;
    m_inFile = settings;
    m_writer.save(settings, QDateTime::currentDateTime(), draft);
}

QString SavedWorkKeeper::recoveredLine(const SavedWork::Found &found)
{
    const QDateTime &when = found.contents.savedAt;
    QString line =
        QStringLiteral(u"Se han recuperado los datos de su página (%1, guardados el %2 "
                       u"a las %3).")
            .arg(found.contents.settings.txtHTML, when.toString(QStringLiteral("dd/MM/yyyy")),
                 when.toString(QStringLiteral("HH:mm")));
    // A name longer than any file's is named by its start only: a damaged
    // or crafted file may hold megabytes there.
    QStringList missing;
    for (const QString &name : found.missingFiles)
        missing.append(name.size() > SavedWork::kLongestName
                           ? name.left(SavedWork::kLongestName) + u'…'
                           : name);
    if (missing.size() == 1) {
        line += QStringLiteral(" Falta el archivo %1.").arg(missing.first());
    } else if (missing.size() > 1) {
        line += QStringLiteral(" Faltan los archivos %1 y %2.")
                    .arg(QStringList(missing.begin(), missing.end() - 1).join(QStringLiteral(", ")),
                         missing.last());
    }
    return line;
}

QString SavedWorkKeeper::unreadableMessage(const QString &setAsideName)
{
    const QString start = QStringLiteral(u"No se han podido leer los datos guardados de su página "
                                         u"(%1). El asistente empieza con una página nueva")
                              .arg(SavedWork::fileName());
    if (setAsideName.isEmpty())
        return start +
               QStringLiteral(u"; el archivo se deja como está y no se guardará nada en él.");
    return start + QStringLiteral(u"; el archivo se conserva con el nombre %1.").arg(setAsideName);
}
