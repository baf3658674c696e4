#pragma once

#include "color/bascommon.h"

#include <optional>
#include <string>
#include <string_view>

// Reads a color from any text a user may paste or type:
// - "#RGB", "#RRGGBB", and the same without "#";
// - "rgb()"/"rgba()" in the comma and the space syntax, components as numbers 0-255 or
//   percentages (fractions round to nearest, values outside clamp into 0-255), alpha ignored;
// - "hsl()"/"hsla()" (hue in degrees, optionally with "deg", "grad", "rad" or "turn";
//   saturation and lightness in percent, clamped into 0-100), alpha ignored;
// - "oklch()" (lightness in percent or 0-1, chroma as a number or percent of 0.4, hue in
//   degrees); colors outside sRGB are brought in by GamutMapToSrgb, never clipped;
// - the 148 CSS named colors, in any case;
// - "R,G,B" with decimal components 0-255;
// - the copy forms "&H00BBGGRR&", "$00BBGGRR", "0xBBGGRR", "Hex={RR,GG,BB}" and "RGB(R,G,B)".
// Function names and hexadecimal digits may be in any case. Surrounding blanks, one pair of
// surrounding quotes and a trailing ";" are ignored. Anything else gives nothing.
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
    "a color such as #FFA1CC, #FAC, rgb(255 161 204), hsl(332.6 100% 81.6%), "
    "oklch(81.54% 0.12234 351.21), hotpink, 255,161,204, &H00CCA1FF&, $00CCA1FF, 0xCCA1FF "
    "or Hex={FF,A1,CC}";
