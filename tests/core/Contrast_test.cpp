#include "color/Contrast.h"

#include "color/ColorSpace.h"
#include "color/CssSpaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

using bascommon::ColorValue;
using bascommon::RGB;

namespace
{

constexpr ColorValue white = 0xFFFFFF, black = 0x000000;

ColorValue gray(int v)
{
    return RGB(v, v, v);
}

TEST(ContrastRule, WorkedPairsShowTheTruncatedRatio)
{
    const struct {
        ColorValue foreground, background;
        const char* text;
    } cases[] = {{gray(0x77), white, "4.47:1"},     {black, white, "21.00:1"},
                 {RGB(0, 0, 255), white, "8.59:1"}, {gray(0x76), white, "4.54:1"},
                 {gray(0x59), white, "7.00:1"},     {white, white, "1.00:1"}};
    for (const auto& c : cases)
        EXPECT_EQ(ContrastRatioText(ContrastRatio(c.foreground, c.background)), c.text);
}

TEST(ContrastRule, EveryGrayAgainstWhiteAndBlack)
{
    double previousOnWhite = 22.0, previousOnBlack = 0.0;
    for (int v = 0; v <= 255; ++v) {
        const double onWhite = ContrastRatio(gray(v), white);
        const double onBlack = ContrastRatio(black, gray(v));
        // (1.05 / (L + 0.05)) * ((L + 0.05) / 0.05) is 21 for every luminance L.
        EXPECT_NEAR(onWhite * onBlack, 21.0, 1e-9) << v;
        EXPECT_LT(onWhite, previousOnWhite) << v;
        EXPECT_GT(onBlack, previousOnBlack) << v;
        EXPECT_EQ(ContrastRatio(white, gray(v)), onWhite);
        previousOnWhite = onWhite;
        previousOnBlack = onBlack;
    }
}

TEST(ContrastRule, TextTruncatesAndLevelsUseTheUnroundedRatio)
{
    const struct {
        double ratio;
        const char* text;
        ContrastGrade grade;
        bool aaLarge, aaNormal, aaaNormal;
    } cases[] = {{4.4999999, "4.49:1", ContrastGrade::AALarge, true, false, false},
                 {4.5, "4.50:1", ContrastGrade::AA, true, true, false},
                 {2.9999, "2.99:1", ContrastGrade::Fail, false, false, false},
                 {3.0, "3.00:1", ContrastGrade::AALarge, true, false, false},
                 {7.0, "7.00:1", ContrastGrade::AAA, true, true, true},
                 {1.0, "1.00:1", ContrastGrade::Fail, false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ratio);
        EXPECT_EQ(ContrastRatioText(c.ratio), c.text);
        EXPECT_EQ(ContrastGradeOf(c.ratio), c.grade);
        const ContrastLevels l = ContrastLevelsOf(c.ratio);
        EXPECT_EQ((std::array{l.aaLarge, l.aaaLarge, l.aaNormal, l.aaaNormal}),
                  (std::array{c.aaLarge, c.aaNormal, c.aaNormal, c.aaaNormal}));
    }
}

constexpr VisionKind dichromacies[] = {VisionKind::Protanopia, VisionKind::Deuteranopia,
                                       VisionKind::Tritanopia};

TEST(ColorVision, NoSeverityIsNormalVisionAndGraysStayGray)
{
    for (const VisionKind kind : dichromacies) {
        for (int c = 0; c < 0x1000000; c += 0x010305)
            ASSERT_EQ(SimulateVision(c, kind, 0.0), c) << c;
        // Each row of each published matrix sums to one; a mistyped entry breaks that.
        for (int step = 0; step <= 20; ++step)
            for (int v = 0; v <= 255; ++v) {
                const ColorValue seen = SimulateVision(gray(v), kind, step / 20.0);
                for (const int channel :
                     {bascommon::GetRed(seen), bascommon::GetGreen(seen), bascommon::GetBlue(seen)})
                    ASSERT_LE(std::abs(channel - v), 1) << v << " at " << step / 20.0;
            }
    }
}

TEST(ColorVision, PublishedMatricesAtTheirStepsAndBetween)
{
    // Expected values from a separate evaluation of the published matrices; between two steps
    // (0.55, 0.25) the mean of both matrices, and a severity above 1 counts as 1.
    const struct {
        ColorValue color;
        VisionKind kind;
        double severity;
        ColorValue seen;
    } cases[] = {
        {RGB(255, 0, 0), VisionKind::Protanopia, 1.0, RGB(0x6D, 0x5F, 0x00)},
        {RGB(255, 0, 0), VisionKind::Protanopia, 0.55, RGB(0xAE, 0x58, 0x00)},
        {RGB(0, 255, 0), VisionKind::Deuteranopia, 1.0, RGB(0xEF, 0xD6, 0x3A)},
        {RGB(0, 255, 0), VisionKind::Deuteranopia, 0.25, RGB(0xA5, 0xF0, 0x22)},
        {RGB(255, 128, 0), VisionKind::Deuteranopia, 7.0, RGB(0xC4, 0xAE, 0x00)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimulateVision(c.color, c.kind, c.severity), c.seen) << c.severity;
    EXPECT_EQ(SimulateVision(RGB(255, 0, 0), VisionKind::Protanopia), RGB(0x6D, 0x5F, 0x00));
}

TEST(ColorVision, AchromatopsiaKeepsOnlyLuminance)
{
    for (int c = 0; c < 0x1000000; c += 0x030507) {
        const ColorValue seen = SimulateVision(c, VisionKind::Achromatopsia);
        ASSERT_EQ(seen, gray(bascommon::GetRed(seen))) << c;
        ASSERT_LT(ContrastRatio(seen, c), 1.02) << c;
    }
}

TEST(ContrastFix, ReachesAaOverAGridAndTurnsGrayOnWhiteIntoTheFirstPassingGray)
{
    EXPECT_EQ(SuggestContrastFix(gray(0x77), white), gray(0x76));
    EXPECT_EQ(SuggestContrastFix(gray(0xEE), white), gray(0x76));
    EXPECT_EQ(SuggestContrastFix(gray(0x77), black), gray(0x77)); // already 4.69:1
    for (int fg = 0; fg < 0x1000000; fg += 0x1F3D5B)
        for (int bg = 0; bg < 0x1000000; bg += 0x2A4E13) {
            const ColorValue fix = SuggestContrastFix(fg, bg);
            ASSERT_GE(ContrastRatio(fix, bg), 4.5) << fg << " on " << bg;
            if (ContrastRatio(fg, bg) >= 4.5) {
                ASSERT_EQ(fix, fg);
            }
        }
}

// The distance in OKLab of `color` from the half-plane of hue H (degrees).
double offHue(ColorValue color, double H)
{
    const OkLab lab = OkLabOf(color);
    const double h = H * std::numbers::pi / 180;
    return std::fabs(lab.b * std::cos(h) - lab.a * std::sin(h));
}

TEST(ContrastFix, KeepsTheOkLchHueOfAColorfulForeground)
{
    // Expected fixes: the same lightness walk run on colorjs.io 0.7.1's
    // toGamut({method: "css"}), channels rounded half up.
    const struct {
        ColorValue foreground, background;
        const char* fix;
    } cases[] = {{RGB(0, 0, 255), black, "#2968FF"},
                 {RGB(255, 0, 0), RGB(200, 0, 0), "#FFD5CB"},
                 {RGB(255, 102, 0), white, "#D64300"},
                 {RGB(0, 200, 255), RGB(0, 180, 255), "#00445F"}};
    for (const auto& c : cases) {
        const ColorValue fix = SuggestContrastFix(c.foreground, c.background);
        EXPECT_EQ(bascommon::HexRGB(fix), c.fix);
        EXPECT_GE(ContrastRatio(fix, c.background), 4.5) << c.foreground;
        // Lightness moved; the hue kept to within the gamut mapping's clip (deltaEOK 0.02) and
        // the 8-bit rounding.
        EXPECT_NE(OkLchOf(fix).L, OkLchOf(c.foreground).L);
        EXPECT_LT(offHue(fix, OkLchOf(c.foreground).H), 0.025) << bascommon::HexRGB(fix);
    }
}

TEST(ColorSpace, TransferFunctionAtItsBranchesAndEnds)
{
    EXPECT_DOUBLE_EQ(SrgbToLinear(0), 0.0);
    EXPECT_DOUBLE_EQ(SrgbToLinear(255), 1.0);
    EXPECT_DOUBLE_EQ(SrgbToLinear(10), 10 / 255.0 / 12.92); // 0.0392 is on the linear branch
    EXPECT_NEAR(SrgbToLinear(11), 0.0033465, 1e-7);         // 0.0431 is on the power branch
    EXPECT_NEAR(SrgbToLinear(128), 0.2158605, 1e-7);
    for (int c = 0; c <= 255; ++c)
        EXPECT_NEAR(LinearToSrgb(SrgbToLinear(c)) * 255.0, c, 1e-9);
}

TEST(ColorSpace, GamutMappingKeepsLightnessAndHueAndReducesChromaOnlyOutside)
{
    // The mapped color lies within deltaEOK 0.02 (plus 8-bit rounding) of a color of the same
    // lightness and hue and less chroma: of the segment from (L, 0, 0) to the wanted color.
    for (double L = 0.2; L < 0.99; L += 0.05)
        for (double H = 0; H < 360; H += 7.5) {
            const OkLch wanted{L, 0.37, H};
            const OkLab got = OkLabOf(GamutMapToSrgb(wanted));
            const OkLab end = OkLabOfOkLch(wanted);
            const double along = std::clamp(
                (got.a * end.a + got.b * end.b) / (end.a * end.a + end.b * end.b), 0.0, 1.0);
            const OkLab nearest{L, end.a * along, end.b * along};
            EXPECT_LT(DeltaEOK(got, nearest), 0.023) << L << " " << H;
            EXPECT_LT(along, 1.0);
        }
    // Colors inside are left alone.
    for (bascommon::ColorValue c : {RGB(0, 0, 255), RGB(255, 161, 204), RGB(1, 2, 3)}) {
        EXPECT_FALSE(NeedsGamutMapping(OkLchOf(c)));
        EXPECT_EQ(GamutMapToSrgb(OkLchOf(c)), c);
    }
    EXPECT_TRUE(NeedsGamutMapping(OkLch{0.7, 0.37, 150}));
    EXPECT_TRUE(InSrgbGamut(OkLabOf(RGB(0, 255, 0))));
    EXPECT_FALSE(InSrgbGamut(OkLabOfOkLch(OkLch{0.7, 0.37, 150})));
    EXPECT_EQ(GamutMapToSrgb(OkLch{0.0, 0.3, 40}), RGB(0, 0, 0));
}

} // namespace
