#include "color/ColorForms.h"

#include "color/ColorSpace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
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

ColorValue ColorOfHsv(int H, int S, int V)
{
    const double v = std::clamp(V, 0, 100) / 100.0;
    const double c = v * std::clamp(S, 0, 100) / 100.0;
    double rgb[3];
    channelsOfHue(H, c, v - c, rgb);
    const auto channel = [](double x) { return std::clamp(roundHalfUp(x * 255.0), 0, 255); };
    return bascommon::RGB(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}
