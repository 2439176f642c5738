// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

// The program's command line: brenzo [-h|--help] [-v|--version] [CARPETA].
// Help and version are answered from the raw arguments, before the window
// system is touched, so they work on a terminal without a display. The
// folder is taken once the application object has removed Qt's own options
// (-platform, -style and the like) from the arguments.
namespace CommandLine {

// When the arguments ask for help or the version: prints it on standard
// output and gives the exit status. Otherwise nothing.
std::optional<int> answerWithoutWindow(int argc, char **argv);

// Makes CARPETA, when given, the current folder: the folder the wizard
// works in. On an unknown option, a folder that does not exist or more than
// one folder, prints one line on standard error and gives exit status 2.
std::optional<int> enterWorkingFolder(const QStringList &arguments);

} // namespace CommandLine
