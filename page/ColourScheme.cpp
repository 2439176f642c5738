// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/ColourScheme.h"

const std::array<ColourScheme, 6> &colourSchemes()
{
    static const std::array<ColourScheme, 6> rows{{
        {Combinacion::optBlanco, u"&Blanco", u"fondo_blanco.jpg", "#FFFFFF", "#000000", "#0000FF",
         "#800080"},
        {Combinacion::optNoche, u"&Noche", u"fondo_noche.jpg", "#000000", "#FFFFFF", "#FFFF00",
         "#00FF00"},
        {Combinacion::optCielo, u"Cielo", u"fondo_cielo.jpg", "#00FFFF", "#000000", "#0000FF",
         "#800080"},
        {Combinacion::optRojo, u"Rojo", u"fondo_rojo.jpg", "#800000", "#FFFFFF", "#FFFF00",
         "#00FF00"},
        {Combinacion::optVerde, u"Verde/Negro", u"fondo_verde.jpg", "#008000", "#FFFFFF", "#FFFF00",
         "#00FF00"},
        {Combinacion::optAmarillo, u"Amarillo", u"fondo_amarillo.jpg", "#FFFF00", "#000000",
         "#0000FF", "#800080"},
    }};
    return rows;
}

const ColourScheme &schemeFor(Combinacion option)
{
    for (const ColourScheme &row : colourSchemes()) {
        if (row.option == option)
            return row;
    }
    return colourSchemes().front();
}

const ColourScheme &schemeFor(const PageSettings &settings)
{
    return schemeFor(settings.optCombinacion);
}
