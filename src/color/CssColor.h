#pragma once

#include "color/CssSpaces.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// A color as a style sheet writes it, read as browsers read it: hex with 3, 4, 6 or 8 digits,
// the named colors and "transparent", rgb()/rgba() and hsl()/hsla() in the space and the comma
// syntax, hwb(), lab(), lch(), oklab(), oklch(), color() with its predefined spaces, the "none"
// keyword, math functions (calc() and its kin) in components, color-mix() and relative colors
// ("oklch(from red l c calc(h + 180))"). Names, units and hex digits may be in any case.

// The color in the space its text named, before any gamut mapping. A component written "none"
// (or left missing by a mix) is marked missing and reads as 0.
struct CssColorValue {
    CssSpace space = CssSpace::Srgb;
    Channels channels{};
    double alpha = 1.0;            // 0-1
    std::array<bool, 4> missing{}; // the three channels, then alpha
};

struct CssColorReading {
    std::optional<CssColorValue> value;
    // Why the text was refused: what was expected, or that the color depends on a page
    // ("currentcolor", system colors, light-dark()).
    std::string error;
};

// Reads a whole text (surrounding whitespace allowed) as one CSS color.
CssColorReading ReadCssColor(std::string_view text);

// The channels of a read color with its missing ones as 0.
Channels ResolvedChannels(const CssColorValue& value);
