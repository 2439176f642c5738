// SPDX-License-Identifier: GPL-3.0-or-later
// The page writer on random settings: whatever the user typed or the folder
// held, the page is whole lines of ISO-8859-1 each ending in CR LF, with no
// CR or LF anywhere else, and the central text gives exactly its lines.

#include "page/ColourScheme.h"
#include "page/PageEncoding.h"
#include "page/PageWriter.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Text as a user or a file name may bring it: any UTF-16 units, lone
// surrogates, control characters and line breaks included.
QString text(FuzzedDataProvider &input, size_t maxUnits)
{
    const size_t units = input.ConsumeIntegralInRange<size_t>(0, maxUnits);
    QString result;
    result.reserve(qsizetype(units));
    for (size_t i = 0; i < units && input.remaining_bytes() > 0; ++i) {
        // Mostly Latin-1, sometimes anything.
        const bool wide = input.ConsumeIntegralInRange<int>(0, 7) == 0;
        result.append(QChar(wide ? input.ConsumeIntegral<char16_t>()
                                 : char16_t(input.ConsumeIntegral<uint8_t>())));
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    PageSettings s;
    s.txtTitol = text(input, 120);
    s.txtSubTitol1 = text(input, 120);
    s.txtSubTitol2 = text(input, 120);
    s.chkMarco = input.ConsumeBool();
    s.optCombinacion = Combinacion(input.ConsumeIntegralInRange<int>(0, 5));
    s.chkFondo = input.ConsumeBool();
    s.chkFondoFijo = input.ConsumeBool();
    s.stSonido = text(input, 40);
    s.chkLoop = input.ConsumeBool();
    s.txtLibre = text(input, 6000);
    s.optTamano = Tamano(input.ConsumeIntegralInRange<int>(0, 3));
    s.chkNegrita = input.ConsumeBool();
    s.chkCursiva = input.ConsumeBool();
    s.lblNombreImagen1 = text(input, 40);
    s.txtImagen1 = text(input, 120);
    s.lblNombreImagen2 = text(input, 40);
    s.txtImagen2 = text(input, 120);
    s.lblNombreImagen3 = text(input, 40);
    s.TextoScroll = text(input, 120);
    s.optPosicion = Posicion(input.ConsumeIntegralInRange<int>(0, 1));
    s.txtTitolEnlaces = text(input, 80);
    const int rows = input.ConsumeIntegralInRange<int>(0, kLinkRowCount);
    for (int row = 0; row < rows; ++row)
        s.GridEnlaces[row] = {text(input, 60), text(input, 60)};
    s.txtTitolEmail = text(input, 120);
    s.txtEmail = text(input, 80);
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
