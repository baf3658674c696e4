#include "color/ColorSpace.h"

#include "color/CssSpaces.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

double srgbToLinearFormula(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The linear values at which the encoded channel crosses k + 0.5 (k = -1 ... 255) on the 0-255
// scale: rounding to 8 bits is a search in this table instead of a power per channel.
struct RoundingSteps {
    std::array<double, 257> bounds;
    RoundingSteps()
    {
        for (std::size_t i = 0; i < bounds.size(); ++i)
            bounds[i] = srgbToLinearFormula((static_cast<double>(i) - 0.5) / 255.0);
    }
};

const RoundingSteps& roundingSteps()
{
    static const RoundingSteps steps;
    return steps;
}

// The 8-bit channel a linear value rounds to, or -1 when it lies outside 0-255 by more than
// half a step.
int rounded8Bit(double linear)
{
    const auto& b = roundingSteps().bounds;
    if (!(linear >= b.front() && linear <= b.back()))
        return -1;
    const auto above = std::upper_bound(b.begin() + 1, b.end() - 1, linear);
    return static_cast<int>(above - (b.begin() + 1));
}

} // namespace

double SrgbToLinear(int channel)
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t c = 0; c < t.size(); ++c)
            t[c] = srgbToLinearFormula(static_cast<double>(c) / 255.0);
        return t;
    }();
    return table[static_cast<std::size_t>(channel & 255)];
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
        const int c = rounded8Bit(linear);
        return c >= 0 ? c : linear < 0.0 ? 0 : 255;
    };
    return bascommon::RGB(channel(rgb.r), channel(rgb.g), channel(rgb.b));
}

OkLab OkLabOfLinear(const LinearRgb& c)
{
    const Channels lab = ConvertChannels(CssSpace::SrgbLinear, CssSpace::Oklab, {c.r, c.g, c.b});
    return {lab[0], lab[1], lab[2]};
}

LinearRgb LinearOfOkLab(const OkLab& lab)
{
    const Channels c =
        ConvertChannels(CssSpace::Oklab, CssSpace::SrgbLinear, {lab.L, lab.a, lab.b});
    return {c[0], c[1], c[2]};
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
    const Channels lch = ConvertChannels(CssSpace::Oklab, CssSpace::Oklch, {lab.L, lab.a, lab.b});
    return {lch[0], lch[1], lch[2]};
}

OkLab OkLabOfOkLch(const OkLch& lch)
{
    const Channels lab = ConvertChannels(CssSpace::Oklch, CssSpace::Oklab, {lch.L, lch.C, lch.H});
    return {lab[0], lab[1], lab[2]};
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
    return OutsideSrgb(CssSpace::Oklch, {lch.L, std::max(lch.C, 0.0), lch.H});
}

bascommon::ColorValue GamutMapToSrgb(const OkLch& lch)
{
    return ColorOfChannels(CssSpace::Oklch, {lch.L, std::max(lch.C, 0.0), lch.H});
}
