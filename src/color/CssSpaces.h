#pragma once

#include "color/ColorSpace.h"
#include "color/bascommon.h"

#include <array>
#include <optional>
#include <string_view>

// The color spaces of style sheets and the conversions between them, in double throughout,
// with the matrices and transfer functions browsers use.

// Channel units of each space:
// - Srgb, SrgbLinear, DisplayP3, DisplayP3Linear, A98Rgb, ProphotoRgb, Rec2020: 0-1 inside the
// gamut (values
//   outside are kept; the transfer functions extend to negatives by symmetry);
// - XyzD50, XyzD65: X, Y, Z with white at Y 1;
// - Lab (D50): L 0-100, a, b; Lch (D50): L 0-100, C >= 0, H degrees;
// - Oklab: L 0-1, a, b; Oklch: L 0-1, C >= 0, H degrees;
// - Hsl: H degrees, S and L 0-100; Hwb: H degrees, W and B 0-100.
enum class CssSpace {
    Srgb,
    SrgbLinear,
    DisplayP3,
    DisplayP3Linear,
    A98Rgb,
    ProphotoRgb,
    Rec2020,
    XyzD50,
    XyzD65,
    Lab,
    Lch,
    Oklab,
    Oklch,
    Hsl,
    Hwb,
};

using Channels = std::array<double, 3>;

// The name a space has in color() and in color-mix()'s "in" clause ("srgb", "display-p3",
// "display-p3-linear", "xyz-d65", "lab", "oklch", "hsl", ...), and the space of such a name (lower
// case; "xyz" is XyzD65; SpaceOfName ignores ASCII case). Lab, Lch, Oklab, Oklch, Hsl and Hwb are
// not color() spaces; IsColorFunctionSpace says which are.
std::string_view SpaceName(CssSpace space);
std::optional<CssSpace> SpaceOfName(std::string_view name);
bool IsColorFunctionSpace(CssSpace space); // srgb ... xyz-d65
// True for the spaces with a hue channel (index 0 for Hsl and Hwb, 2 for Lch and Oklch).
bool IsPolarSpace(CssSpace space);
int HueIndex(CssSpace space); // -1 when the space has no hue

// Channels of one space expressed in another. Lab, Lch, ProPhoto and XYZ D50 meet the others
// through the Bradford adaptation between D50 and D65; Hsl and Hwb go through Srgb, and each polar
// space meets its rectangular one directly. The same space gives the channels back unchanged.
// A computed hue lies in 0 up to (not including) 360; an achromatic color gets hue 0: OKLCH
// chroma below 1e-9, LCH chroma below 1e-7, HSL saturation or HWB's 100 - W - B below 1e-7.
Channels ConvertChannels(CssSpace from, CssSpace to, const Channels& channels);

// The sRGB channels (0-1) of a color brought inside the sRGB gamut by the CSS Color 4
// gamut-mapping algorithm: a color inside (within 1e-6) is kept (clamped to 0-1); otherwise, in
// OKLCH, L >= 1 is white and L <= 0 black, and the chroma is reduced by binary search (to within
// 0.0001) until the clipped color lies within deltaEOK 0.02 of the reduced one, and the clipped
// color is the answer. No allocation: it may run once per color of a large batch.
Channels GamutMapSrgb(CssSpace from, const Channels& channels);

// Whether a color lies outside sRGB by more than half an 8-bit step in some channel, so that its
// 8-bit color is the gamut mapping's answer, not its own rounding.
bool OutsideSrgb(CssSpace from, const Channels& channels);

// The 8-bit color of sRGB channels 0-1: each channel times 255, rounded half up, clamped 0-255.
bascommon::ColorValue ColorOfSrgb(const Channels& srgb);

// The 8-bit color of any color: GamutMapSrgb, then ColorOfSrgb.
bascommon::ColorValue ColorOfChannels(CssSpace from, const Channels& channels);

// The sRGB channels 0-1 of an 8-bit color.
Channels SrgbOf(bascommon::ColorValue color);

// deltaEOK: the Euclidean distance between two OKLab colors.
double DeltaEOK(const OkLab& x, const OkLab& y);
