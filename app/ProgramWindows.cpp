// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramWindows.h"

ProgramWindows::ProgramWindows(UserPrompts &prompts)
    : frmWeb(prompts), frmOtros(prompts, &frmWeb), frmEnviar(prompts, &frmWeb)
{
    // The publishing window gets the start-up folder and the files of the
    // last generation each time it opens; the wizard waits until it closes.
    QObject::connect(&frmWeb, &TfrmWeb::publishRequested, &frmWeb, [this] {
        frmEnviar.setUpload(frmWeb.startupFolder(), frmWeb.publishFiles());
        frmEnviar.exec();
    });
    QObject::connect(&frmWeb, &TfrmWeb::otherProgramsRequested, &frmWeb,
                     [this] { frmOtros.exec(); });
}
