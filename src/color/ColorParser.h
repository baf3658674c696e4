#pragma once

#include "color/bascommon.h"

#include <optional>
#include <string>
#include <string_view>

// Reads a color from any text a user may paste or type: every color of style sheets, read as
// browsers read it (see CssColor.h: hex with 3, 4, 6 or 8 digits, named colors, rgb(), hsl(),
// hwb(), lab(), lch(), oklab(), oklch(), color(), color-mix(), relative colors, math functions),
// and the program's own forms: "R,G,B" with decimal components 0-255, hex without "#" (3 or 6
// digits; a color name wins over hex, "add" is #AADDDD), the copy forms "&H00BBGGRR&",
// "$00BBGGRR", "0xBBGGRR", "Hex={RR,GG,BB}", and "#RRGGBB" or "RRGGBB" in double quotes.
// Surrounding blanks and a trailing ";" are ignored. Colors outside sRGB are brought inside by
// the CSS gamut mapping; channels round half up. ParseColor gives the 8-bit color alone.
std::optional<bascommon::ColorValue> ParseColor(std::string_view text);

// A color read from text: its 8-bit sRGB color (brought inside sRGB by the CSS gamut mapping
// when it lay outside), its alpha 0-1, and whether the mapping changed it by more than the 8-bit
// rounding does.
struct ParsedColor {
    bascommon::ColorValue color = 0;
    double alpha = 1.0;
    bool gamutMapped = false;
};
// Either a color or, when the text cannot be read, why: a sentence for a message, such as
// "rgb() takes three numbers or three percentages, not a mix" (no final period).
struct ColorReading {
    std::optional<ParsedColor> color;
    std::string error;
};
ColorReading ReadColor(std::string_view text);

// What ParseColor reads, for messages that refuse a text.
inline constexpr std::string_view ColorFormsExpected =
    "a color such as #FFA1CC, #FAC, #FFA1CC80, rgb(255 161 204), hsl(332.6 100% 81.6%), "
    "oklch(81.54% 0.12234 351.21), lab(), color(display-p3 ...), color-mix(), hotpink, "
    "255,161,204, &H00CCA1FF&, $00CCA1FF, 0xCCA1FF or Hex={FF,A1,CC}";
