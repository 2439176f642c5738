// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The program's help: a window that shows the help file's contents or one
// of its topics by context number. The window is not modal, and the same one
// serves every request of every window.
class HelpViewer {
public:
    // Topic 0 shows the contents. A missing file or topic is reported by the
    // viewer itself.
    static void showTopic(QWidget *parent, const QString &helpFile, int topic);
};
