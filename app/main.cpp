// The program's entry: the application title, the three windows in their
// order, and the message loop until the wizard window closes.

#include "BrenzoApplication.h"
#include "QtUserPrompts.h"
#include "TfrmEnviar.h"
#include "TfrmOtros.h"
#include "TfrmWeb.h"

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

    TfrmWeb frmWeb(prompts);
    prompts.setHelpFile(frmWeb.helpFile());
    TfrmOtros frmOtros(prompts, &frmWeb);
    TfrmEnviar frmEnviar(prompts, &frmWeb);

    QObject::connect(&frmWeb, &TfrmWeb::publishRequested, &frmWeb, [&] {
        frmEnviar.setUpload(frmWeb.startupFolder(), frmWeb.publishFiles());
        frmEnviar.exec();
    });
    QObject::connect(&frmWeb, &TfrmWeb::otherProgramsRequested, &frmWeb,
                     [&] { frmOtros.exec(); });

    frmWeb.show();
    return app.exec();
}
