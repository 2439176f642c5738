// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QFile;

// Opening the files a run reads from the user's disk. Only a regular file
// is ever opened: a folder, a device or a pipe is refused without being
// read, so no open waits on whatever is at the other end of a pipe.
namespace LocalFile {

enum class Links { Follow, Refuse };

// Opens the file named by `file` for reading. With Links::Refuse a link in
// its place is refused, whatever it leads to. Empty on success; otherwise
// why not, in words the user can read.
QString openRegular(QFile &file, Links links);

} // namespace LocalFile
