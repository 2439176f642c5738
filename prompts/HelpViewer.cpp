// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts/HelpViewer.h"

#include "prompts/HelpWindow.h"

void HelpViewer::showTopic(QWidget *parent, const QString &helpFile, int topic)
{
    HelpWindow::showFor(parent, helpFile, topic);
}
