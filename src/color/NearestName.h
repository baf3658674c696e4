#pragma once

#include "color/bascommon.h"

#include <string>
#include <string_view>

// The nearest of the 148 CSS named colors to a color, by OKLab distance (deltaEOK).

struct NearestNamedColor {
    std::string_view name; // lower case, as style sheets write it
    double distance;       // deltaEOK, 0 for the same 8-bit color
    bool exact;            // the named color is this very color
};

// Among names of equal distance (aqua and cyan, gray and grey, ...) the first in alphabetical
// order wins.
NearestNamedColor NearestNamed(bascommon::ColorValue color);

// "rebeccapurple" when the color is a named color, else "~ steelblue (0.012)": the nearest name
// and its distance with three decimals.
std::string NearestNameText(bascommon::ColorValue color);
