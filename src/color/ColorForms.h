#pragma once

#include "color/bascommon.h"

#include <string>

// The CSS text forms of a color. Numbers are printed with a fixed number of decimals, then
// trailing zeros and a trailing point are dropped; the precisions are chosen so that each text
// reads back (ParseColor) to the same 8-bit color for every color.

// "rgb(R G B)": CSS Color 4 space-separated decimal components 0-255 ("rgb(255 161 204)").
std::string CssRgb(bascommon::ColorValue color);

// "hsl(H S% L%)": hue in degrees 0-360 (red 0; a gray has hue 0; 360 prints as 0), saturation
// and lightness in percent, each rounded to one decimal ("hsl(332.6 100% 81.6%)").
std::string CssHsl(bascommon::ColorValue color);

// "oklch(L% C H)": OKLab lightness in percent with two decimals, chroma with five, hue in
// degrees with two; when the chroma prints as 0 the hue prints as 0 ("oklch(62.8% 0.25768 29.23)").
std::string CssOklch(bascommon::ColorValue color);

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
