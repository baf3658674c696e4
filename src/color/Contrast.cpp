#include "color/Contrast.h"

#include "color/ColorSpace.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>

using bascommon::ColorValue;

namespace
{

using Matrix = std::array<double, 9>; // row-major: rows give R', G', B' from linear R, G, B

// Machado, Oliveira and Fernandes (2009): simulation matrices for severities 0.0, 0.1, ... 1.0.
// Severity 1.0 is the complete dichromacy.
constexpr std::array<std::array<Matrix, 11>, 3> cvdMatrices = {{
    {{// protanopia
      {1.000000, 0.000000, -0.000000, 0.000000, 1.000000, 0.000000, -0.000000, -0.000000, 1.000000},
      {0.856167, 0.182038, -0.038205, 0.029342, 0.955115, 0.015544, -0.002880, -0.001563, 1.004443},
      {0.734766, 0.334872, -0.069637, 0.051840, 0.919198, 0.028963, -0.004928, -0.004209, 1.009137},
      {0.630323, 0.465641, -0.095964, 0.069181, 0.890046, 0.040773, -0.006308, -0.007724, 1.014032},
      {0.539009, 0.579343, -0.118352, 0.082546, 0.866121, 0.051332, -0.007136, -0.011959, 1.019095},
      {0.458064, 0.679578, -0.137642, 0.092785, 0.846313, 0.060902, -0.007494, -0.016807, 1.024301},
      {0.385450, 0.769005, -0.154455, 0.100526, 0.829802, 0.069673, -0.007442, -0.022190, 1.029632},
      {0.319627, 0.849633, -0.169261, 0.106241, 0.815969, 0.077790, -0.007025, -0.028051, 1.035076},
      {0.259411, 0.923008, -0.182420, 0.110296, 0.804340, 0.085364, -0.006276, -0.034346, 1.040622},
      {0.203876, 0.990338, -0.194214, 0.112975, 0.794542, 0.092483, -0.005222, -0.041043, 1.046265},
      {0.152286, 1.052583, -0.204868, 0.114503, 0.786281, 0.099216, -0.003882, -0.048116,
       1.051998}}},
    {{// deuteranopia
      {1.000000, 0.000000, -0.000000, 0.000000, 1.000000, 0.000000, -0.000000, -0.000000, 1.000000},
      {0.866435, 0.177704, -0.044139, 0.049567, 0.939063, 0.011370, -0.003453, 0.007233, 0.996220},
      {0.760729, 0.319078, -0.079807, 0.090568, 0.889315, 0.020117, -0.006027, 0.013325, 0.992702},
      {0.675425, 0.433850, -0.109275, 0.125303, 0.847755, 0.026942, -0.007950, 0.018572, 0.989378},
      {0.605511, 0.528560, -0.134071, 0.155318, 0.812366, 0.032316, -0.009376, 0.023176, 0.986200},
      {0.547494, 0.607765, -0.155259, 0.181692, 0.781742, 0.036566, -0.010410, 0.027275, 0.983136},
      {0.498864, 0.674741, -0.173604, 0.205199, 0.754872, 0.039929, -0.011131, 0.030969, 0.980162},
      {0.457771, 0.731899, -0.189670, 0.226409, 0.731012, 0.042579, -0.011595, 0.034333, 0.977261},
      {0.422823, 0.781057, -0.203881, 0.245752, 0.709602, 0.044646, -0.011843, 0.037423, 0.974421},
      {0.392952, 0.823610, -0.216562, 0.263559, 0.690210, 0.046232, -0.011910, 0.040281, 0.971630},
      {0.367322, 0.860646, -0.227968, 0.280085, 0.672501, 0.047413, -0.011820, 0.042940,
       0.968881}}},
    {{// tritanopia
      {1.000000, 0.000000, -0.000000, 0.000000, 1.000000, 0.000000, -0.000000, -0.000000, 1.000000},
      {0.926670, 0.092514, -0.019184, 0.021191, 0.964503, 0.014306, 0.008437, 0.054813, 0.936750},
      {0.895720, 0.133330, -0.029050, 0.029997, 0.945400, 0.024603, 0.013027, 0.104707, 0.882266},
      {0.905871, 0.127791, -0.033662, 0.026856, 0.941251, 0.031893, 0.013410, 0.148296, 0.838294},
      {0.948035, 0.089490, -0.037526, 0.014364, 0.946792, 0.038844, 0.010853, 0.193991, 0.795156},
      {1.017277, 0.027029, -0.044306, -0.006113, 0.958479, 0.047634, 0.006379, 0.248708, 0.744913},
      {1.104996, -0.046633, -0.058363, -0.032137, 0.971635, 0.060503, 0.001336, 0.317922, 0.680742},
      {1.193214, -0.109812, -0.083402, -0.058496, 0.979410, 0.079086, -0.002346, 0.403492,
       0.598854},
      {1.257728, -0.139648, -0.118081, -0.078003, 0.975409, 0.102594, -0.003316, 0.501214,
       0.502102},
      {1.278864, -0.125333, -0.153531, -0.084748, 0.957674, 0.127074, -0.000989, 0.601151,
       0.399838},
      {1.255528, -0.076749, -0.178779, -0.078411, 0.930809, 0.147602, 0.004733, 0.691367,
       0.303900}}},
}};

constexpr double weightRed = 0.2126;
constexpr double weightGreen = 0.7152;
constexpr double weightBlue = 0.0722;

// 8-bit channel to linear light 0-1, looked up: a long list of colors costs no power function
// per channel.
double channelToLinear(int channel)
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t v = 0; v < t.size(); ++v)
            t[v] = SrgbToLinear(static_cast<int>(v));
        return t;
    }();
    return table[static_cast<std::size_t>(channel & 0xFF)];
}

LinearRgb toLinear(ColorValue color)
{
    return {channelToLinear(bascommon::GetRed(color)), channelToLinear(bascommon::GetGreen(color)),
            channelToLinear(bascommon::GetBlue(color))};
}

double luminanceOfLinear(const LinearRgb& rgb)
{
    return weightRed * rgb.r + weightGreen * rgb.g + weightBlue * rgb.b;
}

double ratioOfLuminances(double first, double second)
{
    const auto [darker, lighter] = std::minmax(first, second);
    return (lighter + 0.05) / (darker + 0.05);
}

Matrix cvdMatrix(VisionKind kind, double severity)
{
    const auto& steps = cvdMatrices[static_cast<std::size_t>(kind) - 1];
    const double position = std::clamp(severity, 0.0, 1.0) * 10.0;
    const auto lower = static_cast<std::size_t>(std::min(std::floor(position), 9.0));
    const double fraction = position - static_cast<double>(lower);
    Matrix m{};
    for (std::size_t i = 0; i < m.size(); ++i)
        m[i] = steps[lower][i] + (steps[lower + 1][i] - steps[lower][i]) * fraction;
    return m;
}

double labDistance(const OkLab& x, const OkLab& y)
{
    return std::hypot(x.L - y.L, x.a - y.a, x.b - y.b);
}

// Walking the lightness from the start's towards `target` (0 or 1), the first color that reaches AA
// on the background, or nullopt when even the end of the walk does not.
std::optional<ColorValue> firstPassing(const OkLch& start, double target, double background)
{
    // A gray's chroma comes out a few millionths above zero; it carries no hue to keep.
    constexpr double achromatic = 1e-4;
    const double chroma = start.C > achromatic ? start.C : 0.0;
    auto colorAt = [&](double L) { return GamutMapToSrgb({L, chroma, start.H}); };
    auto passes = [&](ColorValue c) {
        return ratioOfLuminances(RelativeLuminance(c), background) >= contrastAaNormal;
    };
    // A coarse walk finds the first passing step, halving between it and the step before finds
    // the smallest move. Each step is judged on its 8-bit color, so rounding cannot cost AA.
    constexpr int steps = 200;
    double before = start.L;
    for (int i = 1; i <= steps; ++i) {
        const double L = start.L + (target - start.L) * i / steps;
        if (!passes(colorAt(L))) {
            before = L;
            continue;
        }
        double after = L;
        for (int j = 0; j < 20; ++j) {
            const double mid = (before + after) / 2;
            (passes(colorAt(mid)) ? after : before) = mid;
        }
        return colorAt(after);
    }
    const ColorValue end = target > 0.5 ? bascommon::RGB(255, 255, 255) : bascommon::RGB(0, 0, 0);
    return passes(end) ? std::optional<ColorValue>(end) : std::nullopt;
}

} // namespace

double RelativeLuminance(ColorValue color)
{
    return luminanceOfLinear(toLinear(color));
}

double ContrastRatio(ColorValue first, ColorValue second)
{
    return ratioOfLuminances(RelativeLuminance(first), RelativeLuminance(second));
}

std::string ContrastRatioText(double ratio)
{
    // The tiny allowance keeps a quotient such as 1.05 / 0.05 that lands a hair below an exact
    // two-decimal value (20.999999999999996) from losing its last hundredth.
    const double hundredths = std::floor(std::clamp(ratio, 1.0, 21.0) * 100.0 + 1e-9);
    char text[16];
    std::snprintf(text, sizeof text, "%.2f:1", hundredths / 100.0);
    return text;
}

ContrastLevels ContrastLevelsOf(double ratio)
{
    return {ratio >= 4.5, ratio >= 7.0, ratio >= 3.0, ratio >= 4.5};
}

ContrastGrade ContrastGradeOf(double ratio)
{
    if (ratio >= 7.0)
        return ContrastGrade::AAA;
    if (ratio >= 4.5)
        return ContrastGrade::AA;
    if (ratio >= 3.0)
        return ContrastGrade::AALarge;
    return ContrastGrade::Fail;
}

std::string_view ContrastGradeText(ContrastGrade grade)
{
    switch (grade) {
    case ContrastGrade::AAA:
        return "AAA";
    case ContrastGrade::AA:
        return "AA";
    case ContrastGrade::AALarge:
        return "AA-large";
    case ContrastGrade::Fail:
        break;
    }
    return "fail";
}

namespace
{
constexpr std::array<std::string_view, 5> visionNames = {"normal", "protanopia", "deuteranopia",
                                                         "tritanopia", "achromatopsia"};
}

std::string_view VisionKindName(VisionKind kind)
{
    return visionNames[static_cast<std::size_t>(kind)];
}

std::optional<VisionKind> VisionKindFromName(std::string_view name)
{
    for (std::size_t i = 0; i < visionNames.size(); ++i) {
        const std::string_view known = visionNames[i];
        if (name.size() == known.size() &&
            std::equal(name.begin(), name.end(), known.begin(), [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) == y;
            }))
            return static_cast<VisionKind>(i);
    }
    return std::nullopt;
}

ColorValue SimulateVision(ColorValue color, VisionKind kind, double severity)
{
    if (kind == VisionKind::Normal)
        return color & 0xFFFFFF;
    const LinearRgb c = toLinear(color);
    if (kind == VisionKind::Achromatopsia) {
        const double y = luminanceOfLinear(c);
        return ColorOfLinear({y, y, y});
    }
    const Matrix m = cvdMatrix(kind, severity);
    return ColorOfLinear({m[0] * c.r + m[1] * c.g + m[2] * c.b,
                          m[3] * c.r + m[4] * c.g + m[5] * c.b,
                          m[6] * c.r + m[7] * c.g + m[8] * c.b});
}

ColorValue SuggestContrastFix(ColorValue foreground, ColorValue background)
{
    const double backgroundLuminance = RelativeLuminance(background);
    if (ratioOfLuminances(RelativeLuminance(foreground), backgroundLuminance) >= contrastAaNormal)
        return foreground & 0xFFFFFF;
    const OkLch start = OkLchOf(foreground);
    const OkLab startLab = OkLabOf(foreground);
    const double backgroundL = OkLabOf(background).L;
    const double away = start.L >= backgroundL ? 1.0 : 0.0;
    // The walk away from the background is the natural fix; the walk past it to the other side
    // is a candidate too, and wins only when it is nearer (mid-tone backgrounds, where one side
    // cannot reach AA at all). Black or white always reaches it, so one candidate exists.
    std::optional<ColorValue> best;
    double bestDistance = 0.0;
    for (const double target : {away, 1.0 - away}) {
        const std::optional<ColorValue> fix = firstPassing(start, target, backgroundLuminance);
        if (!fix)
            continue;
        const double distance = labDistance(startLab, OkLabOf(*fix));
        if (!best || distance < bestDistance) {
            best = fix;
            bestDistance = distance;
        }
    }
    return best.value_or(away > 0.5 ? bascommon::RGB(0, 0, 0) : bascommon::RGB(255, 255, 255));
}
