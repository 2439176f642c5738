// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/TfrmOtros.h"
#include "publish/TfrmEnviar.h"
#include "wizard/TfrmWeb.h"

class UserPrompts;

// The program's three windows, created in their fixed order: the wizard
// (the main window), then the other-programs window and the publishing
// window, both hidden until the wizard asks for them. All three live until
// the program ends.
class ProgramWindows {
public:
    explicit ProgramWindows(UserPrompts &prompts);

    TfrmWeb frmWeb;
    TfrmOtros frmOtros;
    TfrmEnviar frmEnviar;
};
