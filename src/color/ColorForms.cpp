#include "color/ColorForms.h"

#include "color/ColorSpace.h"
#include "color/CssSpaces.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

using bascommon::ColorValue;

namespace
{

// Decimals of the forms whose components are not fractions of the 8-bit channels: the fewest
// with which every color reads back to itself, found by sweeping the whole cube.
constexpr int oklabLightnessDigits = 2; // percent
constexpr int oklabAxisDigits = 5;
constexpr int lchHueDigits = 2;
constexpr int p3Digits = 4;

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

constexpr long long powersOfTen[] = {1,      10,      100,      1000,      10000,
                                     100000, 1000000, 10000000, 100000000, 1000000000};

// `scaled` counts units of the last of `places` decimal places: its decimal text, trailing zeros
// and a trailing point dropped, never "-0".
// Appends `scaled` / 10^places in decimal, trailing zeros and a trailing point dropped, never
// "-0". Digits are written straight into the text: the forms run for every line of a long pipe.
void appendScaled(std::string& out, long long scaled, int places)
{
    unsigned long long magnitude = scaled < 0 ? 0ull - static_cast<unsigned long long>(scaled)
                                              : static_cast<unsigned long long>(scaled);
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0 || n <= places);
    int last = 0; // the lowest digit that is printed
    while (last < places && digits[last] == '0')
        ++last;
    if (scaled < 0) // a scaled value of 0 prints as "0", never "-0"
        out += '-';
    for (int i = n - 1; i >= places; --i)
        out += digits[i];
    if (last < places) {
        out += '.';
        for (int i = places - 1; i >= last; --i)
            out += digits[i];
    }
}

std::string scaledText(long long scaled, int places)
{
    std::string text;
    appendScaled(text, scaled, places);
    return text;
}

// Rounded half away from zero, as llround, without a library call.
long long roundedAway(double v)
{
    return v < 0 ? -static_cast<long long>(-v + 0.5) : static_cast<long long>(v + 0.5);
}

// Appends FormatDecimal(value, decimals) to `out`.
void appendDecimal(std::string& out, double value, int places)
{
    appendScaled(out, roundedAway(value * static_cast<double>(powersOfTen[places])), places);
}

// " / A" for an alpha that prints below 1, else nothing.
std::string alphaSuffix(double alpha)
{
    if (alpha >= 1.0)
        return {};
    const std::string text = FormatDecimal(std::clamp(alpha, 0.0, 1.0), 3);
    return text == "1" ? std::string() : " / " + text;
}

// A hue printed as text: 360 is 0 again.
std::string hueText(std::string text)
{
    return text == "360" ? "0" : text;
}

// The hue of 8-bit channels as an exact fraction of degrees (0 up to 360, 0 for a gray), with
// the largest channel and the spread: the hue of HSL and HWB.
struct ExactHue {
    long long numerator, denominator;
};
ExactHue exactHue(int r, int g, int b)
{
    const int mx = std::max({r, g, b});
    const int d = mx - std::min({r, g, b});
    if (d == 0)
        return {0, 1};
    long long n = 0;
    if (mx == r)
        n = 60LL * (g - b) + (g < b ? 360LL * d : 0);
    else if (mx == g)
        n = 60LL * (b - r) + 120LL * d;
    else
        n = 60LL * (r - g) + 240LL * d;
    return {n, d};
}

} // namespace

std::string FormatDecimal(double value, int decimals)
{
    // Scaled to an integer count of the last decimal place: exact for the magnitudes of color
    // components, and far quicker than formatting the binary value digit by digit.
    const int places = std::clamp(decimals, 0, 9);
    return scaledText(roundedAway(value * static_cast<double>(powersOfTen[places])), places);
}

std::string FormatFraction(long long numerator, long long denominator, int decimals)
{
    const int places = std::clamp(decimals, 0, 9);
    const long long twice = 2 * numerator * powersOfTen[places];
    return scaledText((twice + denominator) / (2 * denominator), places);
}

std::string CssRgb(ColorValue color, double alpha)
{
    return "rgb(" + std::to_string(bascommon::GetRed(color)) + " " +
           std::to_string(bascommon::GetGreen(color)) + " " +
           std::to_string(bascommon::GetBlue(color)) + alphaSuffix(alpha) + ")";
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

std::string CssHsl(ColorValue color, double alpha)
{
    // HSL of 8-bit channels is rational: worked as fractions, a half (63.75%) rounds up, which
    // in double it would only by chance.
    const int r = bascommon::GetRed(color), g = bascommon::GetGreen(color),
              b = bascommon::GetBlue(color);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const int sum = mx + mn;
    const ExactHue hue = exactHue(r, g, b);
    const int span = 255 - std::abs(sum - 255); // 255 (1 - |2L - 1|)
    const std::string saturation = mx == mn ? "0" : FormatFraction(100LL * (mx - mn), span, 1);
    return "hsl(" + hueText(FormatFraction(hue.numerator, hue.denominator, 1)) + " " + saturation +
           "% " + FormatFraction(10LL * sum, 51, 1) + "%" + alphaSuffix(alpha) + ")";
}

std::string CssHwb(ColorValue color, double alpha)
{
    const int r = bascommon::GetRed(color), g = bascommon::GetGreen(color),
              b = bascommon::GetBlue(color);
    const ExactHue hue = exactHue(r, g, b);
    const auto percentOf = [](int channel) { return FormatFraction(100LL * channel, 255, 1); };
    return "hwb(" + hueText(FormatFraction(hue.numerator, hue.denominator, 1)) + " " +
           percentOf(std::min({r, g, b})) + "% " + percentOf(255 - std::max({r, g, b})) + "%" +
           alphaSuffix(alpha) + ")";
}

std::string CssOklch(ColorValue color, double alpha)
{
    const OkLch lch = OkLchOf(color);
    const std::string chroma = FormatDecimal(lch.C, 5);
    const std::string hue = chroma == "0" ? "0" : hueText(FormatDecimal(lch.H, 2));
    return "oklch(" + FormatDecimal(lch.L * 100.0, 2) + "% " + chroma + " " + hue +
           alphaSuffix(alpha) + ")";
}

std::string CssOklab(ColorValue color, double alpha)
{
    const OkLab lab = OkLabOf(color);
    return "oklab(" + FormatDecimal(lab.L * 100.0, oklabLightnessDigits) + "% " +
           FormatDecimal(lab.a, oklabAxisDigits) + " " + FormatDecimal(lab.b, oklabAxisDigits) +
           alphaSuffix(alpha) + ")";
}

std::string CssLab(ColorValue color, double alpha)
{
    const Channels lab = ConvertChannels(CssSpace::Srgb, CssSpace::Lab, SrgbOf(color));
    return "lab(" + FormatDecimal(lab[0], 2) + " " + FormatDecimal(lab[1], 2) + " " +
           FormatDecimal(lab[2], 2) + alphaSuffix(alpha) + ")";
}

std::string CssLch(ColorValue color, double alpha)
{
    const Channels lch = ConvertChannels(CssSpace::Srgb, CssSpace::Lch, SrgbOf(color));
    const std::string chroma = FormatDecimal(lch[1], 2);
    const std::string hue = chroma == "0" ? "0" : hueText(FormatDecimal(lch[2], lchHueDigits));
    return "lch(" + FormatDecimal(lch[0], 2) + " " + chroma + " " + hue + alphaSuffix(alpha) + ")";
}

std::string CssP3(ColorValue color, double alpha)
{
    const Channels p3 = ConvertChannels(CssSpace::Srgb, CssSpace::DisplayP3, SrgbOf(color));
    std::string text = "color(display-p3 ";
    text.reserve(48);
    for (std::size_t i = 0; i < 3; ++i) {
        appendDecimal(text, p3[i], p3Digits);
        text += i < 2 ? ' ' : ')';
    }
    if (alpha < 1.0)
        text.insert(text.size() - 1, alphaSuffix(alpha));
    return text;
}

std::string CssHex8(ColorValue color, double alpha)
{
    const int alphaByte = static_cast<int>(std::floor(std::clamp(alpha, 0.0, 1.0) * 255.0 + 0.5));
    char text[4];
    std::snprintf(text, sizeof text, "%02X", alphaByte);
    return bascommon::HexRGB(color) + text;
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
