#include "color/ColorForms.h"

#include "color/ColorSpace.h"

#include <algorithm>
#include <cmath>

using bascommon::ColorValue;

namespace
{

// Hue in degrees wrapped into 0 up to (not including) 360.
double wrapDegrees(double degrees)
{
    double h = std::fmod(degrees, 360.0);
    if (h < 0.0)
        h += 360.0;
    return h >= 360.0 ? 0.0 : h;
}

// Hue in degrees 0-360 of channels 0-1 with a largest and smallest one; 0 for a gray.
double hueOf(double r, double g, double b, double mx, double mn)
{
    const double d = mx - mn;
    if (d == 0.0)
        return 0.0;
    double h = 0.0;
    if (mx == r)
        h = (g - b) / d;
    else if (mx == g)
        h = 2.0 + (b - r) / d;
    else
        h = 4.0 + (r - g) / d;
    return wrapDegrees(h * 60.0);
}

int roundHalfUp(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// Channels 0-1 of a hue in degrees (any) and a chroma-free offset, shared by HSL and HSV: the
// standard piecewise hue ramp scaled to chroma c and lifted by m.
void channelsOfHue(double H, double c, double m, double rgb[3])
{
    const double h = wrapDegrees(H) / 60.0;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    default:
        r = c, b = x;
        break;
    }
    rgb[0] = r + m;
    rgb[1] = g + m;
    rgb[2] = b + m;
}

} // namespace

std::string FormatDecimal(double value, int decimals)
{
    // Scaled to an integer count of the last decimal place: exact for the magnitudes of color
    // components, and far quicker than formatting the binary value digit by digit.
    static constexpr double scales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const int places = std::clamp(decimals, 0, 9);
    const long long scaled = std::llround(value * scales[places]);
    const bool negative = scaled < 0;
    std::string digits = std::to_string(negative ? -scaled : scaled);
    if (digits.size() <= static_cast<std::size_t>(places))
        digits.insert(0, static_cast<std::size_t>(places) + 1 - digits.size(), '0');
    std::string text = digits.substr(0, digits.size() - static_cast<std::size_t>(places));
    std::string fraction = digits.substr(text.size());
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty())
        text += "." + fraction;
    return negative && text != "0" ? "-" + text : text;
}

std::string CssRgb(ColorValue color)
{
    return "rgb(" + std::to_string(bascommon::GetRed(color)) + " " +
           std::to_string(bascommon::GetGreen(color)) + " " +
           std::to_string(bascommon::GetBlue(color)) + ")";
}

Hsl HslOf(ColorValue color)
{
    const double r = bascommon::GetRed(color) / 255.0;
    const double g = bascommon::GetGreen(color) / 255.0;
    const double b = bascommon::GetBlue(color) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2.0;
    const double d = mx - mn;
    const double s = d == 0.0 ? 0.0 : d / (1.0 - std::fabs(2.0 * l - 1.0));
    return {hueOf(r, g, b, mx, mn), s * 100.0, l * 100.0};
}

ColorValue ColorOfHsl(double H, double S, double L)
{
    const double s = std::clamp(S, 0.0, 100.0) / 100.0;
    const double l = std::clamp(L, 0.0, 100.0) / 100.0;
    const double c = (1.0 - std::fabs(2.0 * l - 1.0)) * s;
    double rgb[3];
    channelsOfHue(H, c, l - c / 2.0, rgb);
    const auto channel = [](double v) {
        return static_cast<int>(std::clamp(std::nearbyint(v * 255.0), 0.0, 255.0));
    };
    return bascommon::RGB(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}

std::string CssHsl(ColorValue color)
{
    const Hsl hsl = HslOf(color);
    std::string hue = FormatDecimal(hsl.H, 1);
    if (hue == "360")
        hue = "0";
    return "hsl(" + hue + " " + FormatDecimal(hsl.S, 1) + "% " + FormatDecimal(hsl.L, 1) + "%)";
}

std::string CssOklch(ColorValue color)
{
    const OkLch lch = OkLchOf(color);
    const std::string chroma = FormatDecimal(lch.C, 5);
    std::string hue = chroma == "0" ? "0" : FormatDecimal(lch.H, 2);
    if (hue == "360")
        hue = "0";
    return "oklch(" + FormatDecimal(lch.L * 100.0, 2) + "% " + chroma + " " + hue + ")";
}

Hsv HsvOf(ColorValue color)
{
    const double r = bascommon::GetRed(color) / 255.0;
    const double g = bascommon::GetGreen(color) / 255.0;
    const double b = bascommon::GetBlue(color) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const int H = roundHalfUp(hueOf(r, g, b, mx, mn));
    const double s = mx == 0.0 ? 0.0 : (mx - mn) / mx;
    return {H >= 360 ? 0 : H, roundHalfUp(s * 100.0), roundHalfUp(mx * 100.0)};
}

OklchSteps OklchStepsOf(ColorValue color)
{
    const OkLch lch = OkLchOf(color);
    const auto nearest = [](double v) { return static_cast<int>(std::lrint(v)); };
    const int chroma = std::min(nearest(lch.C * 1000.0), 370);
    return {nearest(lch.L * 1000.0), chroma, chroma == 0 ? 0 : nearest(lch.H) % 360};
}

namespace
{
OkLch okLchOfSteps(const OklchSteps& steps)
{
    return {steps.L / 1000.0, steps.C / 1000.0, static_cast<double>(steps.H)};
}
} // namespace

ColorValue ColorOfOklchSteps(const OklchSteps& steps)
{
    return GamutMapToSrgb(okLchOfSteps(steps));
}

bool OklchStepsOutsideSrgb(const OklchSteps& steps)
{
    return NeedsGamutMapping(okLchOfSteps(steps));
}

ColorValue ColorOfHsv(int H, int S, int V)
{
    const double v = std::clamp(V, 0, 100) / 100.0;
    const double c = v * std::clamp(S, 0, 100) / 100.0;
    double rgb[3];
    channelsOfHue(H, c, v - c, rgb);
    const auto channel = [](double x) { return std::clamp(roundHalfUp(x * 255.0), 0, 255); };
    return bascommon::RGB(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}
