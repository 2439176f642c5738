// The program's entry: the application title, the three windows in their
// order, and the message loop until the wizard window closes.

#include "BrenzoApplication.h"
#include "ProgramWindows.h"
#include "QtUserPrompts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    BrenzoApplication app(argc, argv);

    // The program speaks Spanish, so Qt's own buttons ("Sí", "No",
    // "Aceptar") do too, whatever the system's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    QtUserPrompts prompts;
    app.setPrompts(&prompts);

    ProgramWindows windows(prompts);
    prompts.setHelpFile(windows.frmWeb.helpFile());
    windows.frmWeb.show();
    return app.exec();
}
