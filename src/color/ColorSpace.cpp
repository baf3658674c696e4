#include "color/ColorSpace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;

// The encoded channel on 0-255 of a linear value, before rounding.
double encoded255(double linear)
{
    return LinearToSrgb(linear) * 255.0;
}

// True when the channel rounds into 0-255 without being clamped.
bool roundsInto8Bit(double linear)
{
    const double v = encoded255(linear);
    return v >= -0.5 && v <= 255.5;
}

bool roundsInto8Bit(const LinearRgb& rgb)
{
    return roundsInto8Bit(rgb.r) && roundsInto8Bit(rgb.g) && roundsInto8Bit(rgb.b);
}

LinearRgb linearOfOkLch(double L, double C, double H)
{
    return LinearOfOkLab(OkLabOfOkLch(OkLch{L, C, H}));
}

} // namespace

double SrgbToLinear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double linear)
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

LinearRgb LinearRgbOf(bascommon::ColorValue color)
{
    return {SrgbToLinear(bascommon::GetRed(color)), SrgbToLinear(bascommon::GetGreen(color)),
            SrgbToLinear(bascommon::GetBlue(color))};
}

bascommon::ColorValue ColorOfLinear(const LinearRgb& rgb)
{
    const auto channel = [](double linear) {
        return static_cast<int>(std::clamp(std::nearbyint(encoded255(linear)), 0.0, 255.0));
    };
    return bascommon::RGB(channel(rgb.r), channel(rgb.g), channel(rgb.b));
}

OkLab OkLabOfLinear(const LinearRgb& c)
{
    const double l = std::cbrt(0.4122214708 * c.r + 0.5363325363 * c.g + 0.0514459929 * c.b);
    const double m = std::cbrt(0.2119034982 * c.r + 0.6806995451 * c.g + 0.1073969566 * c.b);
    const double s = std::cbrt(0.0883024619 * c.r + 0.2817188376 * c.g + 0.6299787005 * c.b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb LinearOfOkLab(const OkLab& lab)
{
    const double l_ = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m_ = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s_ = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l = l_ * l_ * l_;
    const double m = m_ * m_ * m_;
    const double s = s_ * s_ * s_;
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLab OkLabOf(bascommon::ColorValue color)
{
    return OkLabOfLinear(LinearRgbOf(color));
}

OkLch OkLchOf(bascommon::ColorValue color)
{
    return OkLchOfOkLab(OkLabOf(color));
}

OkLch OkLchOfOkLab(const OkLab& lab)
{
    const double C = std::hypot(lab.a, lab.b);
    double H = C == 0.0 ? 0.0 : std::atan2(lab.b, lab.a) * degreesPerRadian;
    if (H < 0.0)
        H += 360.0;
    return {lab.L, C, H};
}

OkLab OkLabOfOkLch(const OkLch& lch)
{
    const double h = lch.H / degreesPerRadian;
    return {lch.L, lch.C * std::cos(h), lch.C * std::sin(h)};
}

bool InSrgbGamut(const LinearRgb& rgb, double tolerance)
{
    const auto inside = [tolerance](double v) { return v >= -tolerance && v <= 1.0 + tolerance; };
    return inside(rgb.r) && inside(rgb.g) && inside(rgb.b);
}

bool InSrgbGamut(const OkLab& lab, double tolerance)
{
    return InSrgbGamut(LinearOfOkLab(lab), tolerance);
}

bool NeedsGamutMapping(const OkLch& lch)
{
    if (lch.L >= 1.0 || lch.L <= 0.0)
        return false;
    return !roundsInto8Bit(linearOfOkLch(lch.L, std::max(lch.C, 0.0), lch.H));
}

bascommon::ColorValue GamutMapToSrgb(const OkLch& lch)
{
    if (lch.L >= 1.0)
        return bascommon::RGB(255, 255, 255);
    if (lch.L <= 0.0)
        return bascommon::RGB(0, 0, 0);
    const double C = std::max(lch.C, 0.0);
    if (roundsInto8Bit(linearOfOkLch(lch.L, C, lch.H)))
        return ColorOfLinear(linearOfOkLch(lch.L, C, lch.H));
    // Chroma 0 is a gray, always inside; the boundary lies between lo (inside) and hi (outside).
    double lo = 0.0;
    double hi = C;
    while (hi - lo > 1e-7) {
        const double mid = (lo + hi) / 2.0;
        (roundsInto8Bit(linearOfOkLch(lch.L, mid, lch.H)) ? lo : hi) = mid;
    }
    return ColorOfLinear(linearOfOkLch(lch.L, lo, lch.H));
}
