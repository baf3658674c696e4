#pragma once

#include "color/bascommon.h"

#include <string>

// The CSS text forms of a color. Numbers are printed with a fixed number of decimals per
// component, rounded half up, then trailing zeros and a trailing point are dropped; each
// precision is the fewest with which the text reads back (through the conversion of its space to
// sRGB, ColorOfChannels) to the same 8-bit color for every one of the 16,777,216 colors.
// `alpha` (0-1) is written as " / A" before the closing parenthesis, with up to three decimals,
// when it prints below 1; at 1 the text has no alpha.

// "rgb(R G B)": CSS Color 4 space-separated decimal components 0-255 ("rgb(255 161 204)").
std::string CssRgb(bascommon::ColorValue color, double alpha = 1.0);

// "hsl(H S% L%)": hue in degrees 0-360 (red 0; a gray has hue 0; 360 prints as 0), saturation
// and lightness in percent, each with one decimal, computed exactly from the 8-bit channels so
// that a half rounds up ("hsl(332.6 100% 81.6%)", "hsl(275.9 63.8% 31.4%)" for 63.75%).
std::string CssHsl(bascommon::ColorValue color, double alpha = 1.0);

// "hwb(H W% B%)": the hue of CssHsl; whiteness and blackness in percent with one decimal, exact
// and rounded half up like CssHsl ("hwb(0 100% 0%)" for white).
std::string CssHwb(bascommon::ColorValue color, double alpha = 1.0);

// "oklch(L% C H)": OKLab lightness in percent with two decimals, chroma with five, hue in
// degrees with two; when the chroma prints as 0 the hue prints as 0 ("oklch(62.8% 0.25768 29.23)").
std::string CssOklch(bascommon::ColorValue color, double alpha = 1.0);

// "oklab(L% a b)": OKLab lightness in percent with two decimals, a and b with five, in the
// manner of CssOklch ("oklab(62.8% 0.22486 0.12585)").
std::string CssOklab(bascommon::ColorValue color, double alpha = 1.0);

// "lab(L a b)": CIE Lab under D50 (the CSS lab() space), L 0-100 and a, b with two decimals
// each ("lab(54.29 80.8 69.89)").
std::string CssLab(bascommon::ColorValue color, double alpha = 1.0);

// "lch(L C H)": the polar form of CssLab, L and C with two decimals, hue in degrees with
// two; when the chroma prints as 0 the hue prints as 0.
std::string CssLch(bascommon::ColorValue color, double alpha = 1.0);

// "color(display-p3 R G B)": the Display P3 channels 0-1 with four decimals each.
std::string CssP3(bascommon::ColorValue color, double alpha = 1.0);

// "#RRGGBBAA": upper-case hexadecimal, the alpha byte rounded half up from alpha * 255; always
// eight digits ("#FF000080" for alpha 0.5).
std::string CssHex8(bascommon::ColorValue color, double alpha = 1.0);

// HSL of a color in double: H degrees 0 up to (not including) 360, S and L 0-100. A gray has
// H 0 and S 0.
struct Hsl {
    double H, S, L;
};
Hsl HslOf(bascommon::ColorValue color);
// The nearest 8-bit color of an HSL color (H any number of degrees, wrapped; S and L clamped
// into 0-100); channels round to nearest, ties to even.
bascommon::ColorValue ColorOfHsl(double H, double S, double L);

// HSV on integer scales: H 0-359 degrees (red 0), S and V 0-100, each rounded half up (a hue
// that rounds to 360 is 0). A gray has H 0 and S 0.
struct Hsv {
    int H, S, V;
};
Hsv HsvOf(bascommon::ColorValue color);
// The nearest 8-bit color of an HSV color: H wrapped into 0-360, S and V clamped into 0-100,
// channels rounded half up.
bascommon::ColorValue ColorOfHsv(int H, int S, int V);

// OKLCH in whole steps, as the conversion sliders move: L in tenths of a percent 0-1000, C in
// thousandths clamped to 0-370 (beyond sRGB's largest chroma), H in whole degrees 0-359; each
// rounded to nearest, ties to even. A color whose chroma rounds to 0 has H 0: a gray's hue is
// only rounding noise.
struct OklchSteps {
    int L, C, H;
};
OklchSteps OklchStepsOf(bascommon::ColorValue color);
// The 8-bit color of OKLCH steps (GamutMapToSrgb), and whether they lie outside sRGB so that the
// color is a mapped one (NeedsGamutMapping).
bascommon::ColorValue ColorOfOklchSteps(const OklchSteps& steps);
bool OklchStepsOutsideSrgb(const OklchSteps& steps);

// `value` rounded to `decimals` (0-9) decimal places, half away from zero, then trailing zeros
// and a trailing point dropped; never "-0".
std::string FormatDecimal(double value, int decimals);
// The exact fraction numerator / denominator (numerator >= 0, denominator > 0, both small enough
// that numerator * 2 * 10^decimals fits in 64 bits) to `decimals` (0-9) places, half up, as
// FormatDecimal writes it.
std::string FormatFraction(long long numerator, long long denominator, int decimals);
