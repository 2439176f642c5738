// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Program.h"

#include "ui/BrenzoApplication.h"

#include <QLibraryInfo>
#include <QLocale>

Program::Program(BrenzoApplication &app)
{
    // The program speaks Spanish, so Qt's own buttons ("Sí", "No",
    // "Aceptar") do too, whatever the system's language. Loaded before any
    // window exists, so every window gets them.
    if (m_qtTexts.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&m_qtTexts);
    app.setPrompts(&m_prompts);
    m_windows = std::make_unique<ProgramWindows>(m_prompts);
    m_prompts.setHelpFile(m_windows->frmWeb.helpFile());
}
