// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/ProgramWindows.h"
#include "prompts/QtUserPrompts.h"

#include <QTranslator>

#include <memory>

class BrenzoApplication;

// Everything the program's entry sets up before the message loop: Qt's own
// texts in Spanish, the prompts the user sees, the general error box and
// the three windows. The wizard window is shown by show().
class Program {
public:
    explicit Program(BrenzoApplication &app);

    TfrmWeb &mainWindow() { return m_windows->frmWeb; }
    void show() { m_windows->frmWeb.show(); }

private:
    QTranslator m_qtTexts;
    QtUserPrompts m_prompts;
    std::unique_ptr<ProgramWindows> m_windows;
};
