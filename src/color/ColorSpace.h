#pragma once

#include "color/bascommon.h"

// sRGB, linear light and OKLab / OKLCH, computed in double throughout.

// One sRGB channel 0-255 to linear light 0-1: c / 12.92 when c <= 0.04045, else
// ((c + 0.055) / 1.055)^2.4, with c = channel / 255.
double SrgbToLinear(int channel);
// Linear light to the encoded sRGB channel on the 0-1 scale (the inverse of SrgbToLinear
// before the 8-bit step). Not clamped: values outside 0-1 stay outside (negative ones by the
// linear segment), so callers can see how far a color lies outside the gamut.
double LinearToSrgb(double linear);

// Linear-light sRGB, each channel 0-1 inside the gamut.
struct LinearRgb {
    double r, g, b;
};
// OKLab: L 0-1 (black 0, white 1), a and b roughly -0.4 to 0.4.
struct OkLab {
    double L, a, b;
};
// OKLCH: L 0-1, chroma C >= 0 (at most about 0.37 inside sRGB), hue H in degrees 0-360.
struct OkLch {
    double L, C, H;
};

LinearRgb LinearRgbOf(bascommon::ColorValue color);
// The 8-bit color nearest to a linear-light color: each channel encoded, scaled to 0-255,
// rounded to nearest and clamped into 0-255.
bascommon::ColorValue ColorOfLinear(const LinearRgb& rgb);

// OKLab from linear sRGB and back, through XYZ D65 with the matrices of CssSpaces (the program
// has one OKLab).
OkLab OkLabOfLinear(const LinearRgb& rgb);
LinearRgb LinearOfOkLab(const OkLab& lab);

OkLab OkLabOf(bascommon::ColorValue color);
OkLch OkLchOf(bascommon::ColorValue color);
// Polar and rectangular forms; the hue of a color whose chroma is below 1e-9 is 0.
OkLch OkLchOfOkLab(const OkLab& lab);
OkLab OkLabOfOkLch(const OkLch& lch);

// True when every linear channel lies in 0-1, allowing `tolerance` either side.
bool InSrgbGamut(const LinearRgb& rgb, double tolerance = 1e-6);
bool InSrgbGamut(const OkLab& lab, double tolerance = 1e-6);

// The 8-bit sRGB color of an OKLCH color (a negative chroma counts as 0): the CSS Color 4 gamut
// mapping (GamutMapSrgb: lightness and hue kept, chroma reduced by binary search until the
// clipped color lies within deltaEOK 0.02 of it, and that clipped color taken; L >= 1 white,
// L <= 0 black), then ColorOfSrgb (half up). A color already inside gives its rounded 8-bit color.
bascommon::ColorValue GamutMapToSrgb(const OkLch& lch);
// Whether the color lies outside sRGB by more than the 8-bit rounding absorbs (OutsideSrgb), so
// that GamutMapToSrgb shows a mapped color rather than its own.
bool NeedsGamutMapping(const OkLch& lch);
