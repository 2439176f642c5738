// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/PageSettings.h"

#include <QString>

#include <array>

// One of the six fixed background-and-colour combinations of the page.
// Colours are "#" and six upper-case hexadecimal digits, as the BODY line
// writes them.
struct ColourScheme {
    Combinacion option;
    const char16_t *caption;        // caption of the option button, with its mnemonic
    const char16_t *backgroundFile; // JPEG beside the page
    const char *bgColor;
    const char *text;
    const char *link;
    const char *vlink;
};

// Active-link colour, the same for every combination.
inline constexpr const char *kActiveLinkColour = "#FF0000";

// The six rows, in the order the page writer tests the options.
const std::array<ColourScheme, 6> &colourSchemes();

// The row that the option names.
const ColourScheme &schemeFor(Combinacion option);

// The row that the settings' optCombinacion names.
const ColourScheme &schemeFor(const PageSettings &settings);
