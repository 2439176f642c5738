// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The user's work kept between sessions: every field of the page settings in
// one small JSON file (UTF-8) beside the page, in the start-up folder. It is
// written each time the page is written and, as a draft, each time the user
// leaves a page or closes the window; the next start in that folder offers
// it again.
namespace SavedWork {

// The file's bare name in the start-up folder.
inline QString fileName()
{
    return QStringLiteral("mi-pagina.brenzo");
}

// The format this program writes and the newest it reads.
inline constexpr int kFormat = 1;

// A file larger than this is no file of ours (a 100,000-line central text
// takes about 6 MB); it is not read into memory but taken as damaged. Reading
// one this size delays the window by well under a second (bench_recovered).
inline constexpr qint64 kLargestFile = 16ll * 1024 * 1024;

// The longest bare file name the systems allow, in UTF-8 bytes; a longer
// name in the file names no file.
inline constexpr qsizetype kLongestName = 255;

struct Contents {
    PageSettings settings;
    QDateTime savedAt; // local time; invalid when the file does not say
    bool draft = true; // false when the page was written with these values
};

// The whole file for the settings.
QByteArray toJson(const PageSettings &settings, const QDateTime &savedAt, bool draft);

// The settings a file holds, or nothing when it is not a saved-work file this
// program can read: empty, damaged, truncated, foreign or of a newer format.
// Within a readable file, an unknown key is ignored, a value of the wrong type
// gives that field's default and a text longer than its field's limit is cut.
std::optional<Contents> fromJson(const QByteArray &bytes);

// What a start in a folder finds.
struct Found {
    enum class State { None, Read, Unreadable } state = State::None;
    Contents contents;
    // Sounds and pictures the file names that are not in the folder (or that
    // are no bare name of a file the lists offer); their fields are emptied.
    QStringList missingFiles;
};

Found read(const QString &folder);

// Moves an unreadable file, or a link in its place, aside, beside it, under a
// name not taken yet, so that a later save never overwrites it. Returns the
// new bare name, or an empty text when it could not be moved.
QString setAside(const QString &folder);

// Writes the bytes to the folder's file through a temporary file renamed over
// it only once complete (AtomicFile). Returns true on success.
bool write(const QString &folder, const QByteArray &json);

} // namespace SavedWork
