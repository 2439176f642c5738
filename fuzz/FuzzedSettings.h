// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the page writers' fuzz targets feed them: texts and settings drawn
// from the fuzzer's bytes.

#include "page/PageSettings.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

// Text as a user or a file name may bring it: any UTF-16 units, lone
// surrogates, control characters and line breaks included.
inline QString text(FuzzedDataProvider &input, size_t maxUnits)
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

// Settings as a user may leave them, every text from text().
inline PageSettings fuzzedSettings(FuzzedDataProvider &input)
{
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
    return s;
}
