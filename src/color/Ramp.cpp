#include "color/Ramp.h"

#include "color/CssSpaces.h"

#include <algorithm>
#include <array>
#include <cmath>

using bascommon::ColorValue;

namespace
{

// The eleven design-system steps and the lightness each aims at: a mid blue (#3B82F6, L 0.623)
// falls on 500 and its ramp spreads like the blue scales of today's widely used CSS frameworks.
constexpr std::array<int, 11> elevenNames = {50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950};
constexpr std::array<double, 11> elevenLightness = {0.97, 0.93, 0.88, 0.81, 0.71, 0.62,
                                                    0.55, 0.49, 0.42, 0.38, 0.28};

int clampSteps(int steps)
{
    return std::clamp(steps, rampStepsMin, rampStepsMax);
}

// Hue in degrees wrapped into 0 up to (not including) 360.
double wrapDegrees(double h)
{
    h = std::fmod(h, 360.0);
    return h < 0 ? h + 360.0 : h;
}

// How much chroma a step keeps at lightness L: 1 at mid lightness (0.6), falling towards the
// light and dark ends, where sRGB holds little chroma and full-chroma tints look garish.
double chromaFactor(double L)
{
    const double d = (L - 0.6) / 0.45;
    return std::max(0.05, 1.0 - d * d);
}

// The lightness of the eleven-step curve at a name between 50 and 950, linear between steps.
double lightnessAtName(double name)
{
    for (std::size_t i = 1; i < elevenNames.size(); ++i) {
        if (name <= elevenNames[i]) {
            const double t = (name - elevenNames[i - 1]) / (elevenNames[i] - elevenNames[i - 1]);
            return elevenLightness[i - 1] + t * (elevenLightness[i] - elevenLightness[i - 1]);
        }
    }
    return elevenLightness.back();
}

} // namespace

ColorValue MapKeepingHue(const OkLch& lch)
{
    const double C = std::max(0.0, lch.C);
    if (!OutsideSrgb(CssSpace::Oklch, {lch.L, C, lch.H}))
        return ColorOfSrgb(ConvertChannels(CssSpace::Oklch, CssSpace::Srgb, {lch.L, C, lch.H}));
    if (lch.L >= 1.0)
        return 0xFFFFFF;
    if (lch.L <= 0.0)
        return 0;
    // Bisection on chroma: 24 halvings bring the step below 1e-7, far under an 8-bit step.
    double inside = 0.0, outside = C;
    for (int i = 0; i < 24; ++i) {
        const double mid = (inside + outside) / 2;
        (OutsideSrgb(CssSpace::Oklch, {lch.L, mid, lch.H}) ? outside : inside) = mid;
    }
    return ColorOfSrgb(ConvertChannels(CssSpace::Oklch, CssSpace::Srgb, {lch.L, inside, lch.H}));
}

std::vector<int> RampStepNames(int steps)
{
    steps = clampSteps(steps);
    if (steps == static_cast<int>(elevenNames.size()))
        return {elevenNames.begin(), elevenNames.end()};
    std::vector<int> names;
    for (int i = 0; i < steps; ++i)
        names.push_back(static_cast<int>(std::lrint(50.0 + 900.0 * i / (steps - 1))));
    return names;
}

std::vector<double> RampLightness(int steps)
{
    steps = clampSteps(steps);
    if (steps == static_cast<int>(elevenNames.size()))
        return {elevenLightness.begin(), elevenLightness.end()};
    std::vector<double> lightness;
    for (int i = 0; i < steps; ++i)
        lightness.push_back(lightnessAtName(50.0 + 900.0 * i / (steps - 1)));
    return lightness;
}

std::vector<RampStep> MakeRamp(ColorValue input, int steps, double hueShift)
{
    steps = clampSteps(steps);
    hueShift = std::clamp(hueShift, -rampHueShiftMax, rampHueShiftMax);
    const std::vector<int> names = RampStepNames(steps);
    const std::vector<double> lightness = RampLightness(steps);
    const OkLch in = OkLchOf(input);

    std::size_t at = 0; // the input's step: the nearest target lightness, the lighter on a tie
    for (std::size_t i = 1; i < lightness.size(); ++i)
        if (std::abs(lightness[i] - in.L) < std::abs(lightness[at] - in.L))
            at = i;

    const double inputFactor = chromaFactor(in.L);
    std::vector<RampStep> ramp;
    ramp.reserve(lightness.size());
    for (std::size_t i = 0; i < lightness.size(); ++i) {
        if (i == at) {
            ramp.push_back({names[i], in, input, true});
            continue;
        }
        const double along = (static_cast<double>(i) - static_cast<double>(at)) / (steps - 1);
        const OkLch target{lightness[i],
                           in.C * std::min(1.0, chromaFactor(lightness[i]) / inputFactor),
                           wrapDegrees(in.H + hueShift * along)};
        ramp.push_back({names[i], target, MapKeepingHue(target), false});
    }
    return ramp;
}

namespace
{

constexpr std::array<double, 1> complementary = {180};
constexpr std::array<double, 2> analogous = {-30, 30};
constexpr std::array<double, 2> triadic = {120, 240};
constexpr std::array<double, 2> splitComplementary = {150, 210};
constexpr std::array<double, 3> tetradic = {90, 180, 270};

constexpr std::array<HarmonyKind, 5> harmonyKinds = {{
    {"complementary", "Complementary", complementary},
    {"analogous", "Analogous", analogous},
    {"triadic", "Triadic", triadic},
    {"split-complementary", "Split-complementary", splitComplementary},
    {"tetradic", "Tetradic", tetradic},
}};

} // namespace

std::span<const HarmonyKind> HarmonyKinds()
{
    return harmonyKinds;
}

const HarmonyKind* FindHarmonyKind(std::string_view name)
{
    for (const HarmonyKind& kind : harmonyKinds)
        if (kind.name == name)
            return &kind;
    return nullptr;
}

std::vector<OkLch> HarmonyTargets(ColorValue input, const HarmonyKind& kind)
{
    const OkLch in = OkLchOf(input);
    std::vector<OkLch> targets;
    for (double offset : kind.offsets)
        targets.push_back({in.L, in.C, wrapDegrees(in.H + offset)});
    return targets;
}

std::vector<ColorValue> HarmonyColors(ColorValue input, const HarmonyKind& kind)
{
    std::vector<ColorValue> colors;
    for (const OkLch& target : HarmonyTargets(input, kind))
        colors.push_back(MapKeepingHue(target));
    return colors;
}
