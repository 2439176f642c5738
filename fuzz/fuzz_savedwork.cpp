// SPDX-License-Identifier: GPL-3.0-or-later
// The saved-work reader on whatever a damaged or hostile mi-pagina.brenzo may
// hold. A file it takes gives settings within the fields' limits, and those
// settings survive being saved and read again: once written by this program,
// a file reads back as the same page, every later start alike.

#include "page/SavedWork.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void checkLimits(const PageSettings &s)
{
    const std::pair<const QString &, int> limited[] = {
        {s.txtTitol, FieldLimits::txtTitol},
        {s.txtSubTitol1, FieldLimits::txtSubTitol},
        {s.txtSubTitol2, FieldLimits::txtSubTitol},
        {s.txtImagen1, FieldLimits::txtImagen},
        {s.txtImagen2, FieldLimits::txtImagen},
        {s.TextoScroll, FieldLimits::TextoScroll},
        {s.txtTitolEnlaces, FieldLimits::txtTitolEnlaces},
        {s.txtTitolEmail, FieldLimits::txtTitolEmail},
        {s.txtEmail, FieldLimits::txtEmail},
        {s.txtHTML, FieldLimits::txtHTML},
    };
    for (const auto &[text, limit] : limited) {
        if (text.size() > limit)
            std::abort();
    }
}

SavedWork::Contents again(const SavedWork::Contents &contents)
{
    const std::optional<SavedWork::Contents> read =
        SavedWork::fromJson(SavedWork::toJson(contents.settings, contents.savedAt, contents.draft));
    if (!read)
        std::abort(); // the program could not read what it wrote
    return *read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<SavedWork::Contents> contents = SavedWork::fromJson(bytes);
    if (!contents)
        return 0;
    checkLimits(contents->settings);
    // The first save may still change a text the file held in a form UTF-8
    // can't carry (a lone surrogate becomes U+FFFD); from then on nothing
    // changes.
    const SavedWork::Contents once = again(*contents);
    const SavedWork::Contents twice = again(once);
    if (!(once.settings == twice.settings) || once.draft != twice.draft)
        std::abort();
    checkLimits(once.settings);
    return 0;
}
