// SPDX-License-Identifier: GPL-3.0-or-later
// The page writer on random settings: whatever the user typed or the folder
// held, the page is whole lines of ISO-8859-1 each ending in CR LF, with no
// CR or LF anywhere else, and the central text gives exactly its lines.

#include "page/ColourScheme.h"
#include "page/PageEncoding.h"
#include "page/PageWriter.h"

#include "fuzz/FuzzedSettings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    PageSettings s = fuzzedSettings(input);
    const QString stamp = text(input, 40);

    const QByteArray page = RenderPage(s, schemeFor(s), stamp);
    if (!page.endsWith("\r\n") || !page.startsWith("<!-- Pagina Creada con Brenzo"))
        std::abort();
    qsizetype lines = 0;
    for (qsizetype i = 0; i < page.size(); ++i) {
        const char c = page[i];
        if (c == '\r' && (i + 1 >= page.size() || page[i + 1] != '\n'))
            std::abort(); // a CR that does not end a line
        if (c == '\n') {
            if (i == 0 || page[i - 1] != '\r')
                std::abort(); // an LF that does not end a line
            ++lines;
        }
    }
    // The central text goes out as exactly its lines, each followed by
    // "<BR>", as the line-by-line reading of the text gives them.
    if (s.hasCentralText()) {
        QByteArray expected = "<!-- Texto Libre -->\r\n \r\n";
        expected += "<FONT";
        const qsizetype font = page.indexOf(expected);
        const qsizetype first = page.indexOf("\r\n", font + expected.size()) + 2;
        qsizetype at = first;
        for (int skip = (s.chkNegrita ? 1 : 0) + (s.chkCursiva ? 1 : 0); skip > 0; --skip)
            at = page.indexOf("\r\n", at) + 2;
        QByteArray lines;
        for (QStringView line : s.centralTextLineViews()) {
            appendPageText(lines, line);
            lines += "\r\n<BR>\r\n";
        }
        lines += "<BR CLEAR=ALL>\r\n";
        if (font < 0 || page.mid(at, lines.size()) != lines)
            std::abort();
    }
    return 0;
}
