// Ramps and harmonies: invariants swept over the RGB cube, harmonies against culori, and the
// ramp and harmony verbs.
#include "cli/Cli.h"
#include "color/ColorSpace.h"
#include "color/Ramp.h"

#include "VerbRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using bascommon::ColorValue;
using bascommon::RGB;

namespace
{

double hueDistance(double x, double y)
{
    const double d = std::fmod(std::abs(x - y), 360.0);
    return std::min(d, 360.0 - d);
}

// Every 15th value of each channel, and the last: 5,832 colors, black and white among them.
std::vector<ColorValue> cubeSample()
{
    std::vector<int> values;
    for (int v = 0; v < 255; v += 15)
        values.push_back(v);
    values.push_back(255);
    std::vector<ColorValue> colors;
    for (int r : values)
        for (int g : values)
            for (int b : values)
                colors.push_back(RGB(r, g, b));
    return colors;
}

} // namespace

TEST(Ramp, NamesAndLightnessTargetsPerStepCount)
{
    const struct {
        int steps;
        std::vector<int> names;
    } cases[] = {
        {11, {50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 950}},
        {3, {50, 500, 950}},
        {10, {50, 150, 250, 350, 450, 550, 650, 750, 850, 950}},
        {1, {50, 500, 950}}, // clamped to 3
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RampStepNames(c.steps), c.names) << c.steps;
        const auto lightness = RampLightness(c.steps);
        ASSERT_EQ(lightness.size(), c.names.size());
        EXPECT_DOUBLE_EQ(lightness.front(), 0.97);
        EXPECT_DOUBLE_EQ(lightness.back(), 0.28);
    }
    EXPECT_EQ(RampStepNames(40).size(), 21u);
    EXPECT_NEAR(RampLightness(3)[1], 0.62, 1e-12); // 500 is the eleven-step 500
}

// Over the cube and for several step counts: lightness falls step by step, each step lies at
// its target lightness (the chroma reduction keeps it; only the 8-bit rounding moves it), the
// input sits unchanged at the step of nearest target, and the hue is kept within 1 degree
// wherever the step has chroma 0.1 or more (below that, 8-bit rounding alone, in the dark, can
// turn the hue by more than a degree).
TEST(RampCube, MonotonicAtTargetsInputExactHueKept)
{
    for (int steps : {11, 3, 21}) {
        const auto targets = RampLightness(steps);
        for (ColorValue color : cubeSample()) {
            const auto ramp = MakeRamp(color, steps);
            ASSERT_EQ(ramp.size(), targets.size());
            const OkLch in = OkLchOf(color);
            std::size_t marked = 0, inputs = 0;
            double previousL = 2;
            for (std::size_t i = 0; i < ramp.size(); ++i) {
                const OkLch out = OkLchOf(ramp[i].color);
                ASSERT_LT(out.L, previousL) << bascommon::HexRGB(color) << " step " << i;
                previousL = out.L;
                if (ramp[i].isInput) {
                    marked = i, ++inputs;
                    ASSERT_EQ(ramp[i].color, color);
                    continue;
                }
                ASSERT_NEAR(out.L, targets[i], 0.006) << bascommon::HexRGB(color) << " " << i;
                ASSERT_LE(out.C, ramp[i].target.C + 0.004);
                if (out.C >= 0.1) {
                    ASSERT_LE(hueDistance(out.H, in.H), 1.0)
                        << bascommon::HexRGB(color) << " step " << ramp[i].name;
                }
            }
            ASSERT_EQ(inputs, 1u);
            for (double L : targets)
                ASSERT_GE(std::abs(L - in.L) + 1e-12, std::abs(targets[marked] - in.L));
        }
    }
}

// A shift turns the hue linearly along the ramp, none at the input's step.
TEST(Ramp, HueShiftTurnsAlongTheRamp)
{
    const ColorValue blue = RGB(0x3B, 0x82, 0xF6); // L 0.623: step 500, the sixth of eleven
    const double H = OkLchOf(blue).H;
    const auto ramp = MakeRamp(blue, 11, 20);
    EXPECT_TRUE(ramp[5].isInput);
    EXPECT_NEAR(ramp[0].target.H, H - 10, 1e-9);
    EXPECT_NEAR(ramp[10].target.H, H + 10, 1e-9);
    EXPECT_NEAR(MakeRamp(blue, 11, 99)[10].target.H, H + 15, 1e-9); // clamped to 30
    for (std::size_t i : {3u, 8u})
        EXPECT_LE(hueDistance(OkLchOf(ramp[i].color).H, ramp[i].target.H), 1.0);
}

// Expected colors from culori 4.0.2: formatHex of the input's oklch() with the hue turned; these
// low-chroma inputs stay inside sRGB at every hue, so no chroma is taken away.
TEST(Harmony, AccentsMatchCulori)
{
    const struct {
        ColorValue input;
        const char* kind;
        std::vector<ColorValue> accents;
    } cases[] = {
        {RGB(0x8A, 0x7F, 0x74), "complementary", {RGB(0x77, 0x83, 0x8D)}},
        {RGB(0x8A, 0x7F, 0x74), "analogous", {RGB(0x8D, 0x7D, 0x78), RGB(0x84, 0x81, 0x73)}},
        {RGB(0x6B, 0x7F, 0x8A), "triadic", {RGB(0x8A, 0x75, 0x7D), RGB(0x7C, 0x7E, 0x6A)}},
        {RGB(0x6B, 0x7F, 0x8A),
         "split-complementary",
         {RGB(0x8C, 0x75, 0x74), RGB(0x84, 0x7A, 0x69)}},
        {RGB(0x7F, 0x8A, 0x6B),
         "tetradic",
         {RGB(0x64, 0x8D, 0x96), RGB(0x8B, 0x7E, 0x9C), RGB(0x9F, 0x7B, 0x73)}},
        // The ends of lightness have no hue to turn.
        {RGB(0, 0, 0), "complementary", {RGB(0, 0, 0)}},
        {RGB(255, 255, 255), "complementary", {RGB(255, 255, 255)}},
    };
    for (const auto& c : cases) {
        const HarmonyKind* kind = FindHarmonyKind(c.kind);
        ASSERT_NE(kind, nullptr) << c.kind;
        EXPECT_EQ(HarmonyColors(c.input, *kind), c.accents) << c.kind;
    }
    EXPECT_EQ(FindHarmonyKind("square"), nullptr);
}

// Saturated inputs leave sRGB when turned: the accents keep the lightness and the turned hue.
TEST(Harmony, MappedAccentsKeepLightnessAndAngle)
{
    const struct {
        const char* kind;
        std::vector<double> angles;
    } kinds[] = {{"complementary", {180}},
                 {"analogous", {-30, 30}},
                 {"triadic", {120, 240}},
                 {"split-complementary", {150, 210}},
                 {"tetradic", {90, 180, 270}}};
    for (ColorValue input : {RGB(0x3B, 0x82, 0xF6), RGB(255, 0, 0), RGB(0x20, 0xA0, 0x40)}) {
        const OkLch in = OkLchOf(input);
        for (const auto& k : kinds) {
            const auto colors = HarmonyColors(input, *FindHarmonyKind(k.kind));
            ASSERT_EQ(colors.size(), k.angles.size());
            for (std::size_t i = 0; i < colors.size(); ++i) {
                const OkLch out = OkLchOf(colors[i]);
                EXPECT_NEAR(out.L, in.L, 0.005) << k.kind;
                EXPECT_LE(out.C, in.C + 0.002) << k.kind;
                EXPECT_LE(hueDistance(out.H, in.H + k.angles[i]), 1.0) << k.kind << " " << i;
            }
        }
    }
}

TEST(RampVerbs, AnswerOrRefuse)
{
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string errPart;
    } cases[] = {
        {{"ramp", "--steps", "3", "#3B82F6"},
         "",
         0,
         "50\t#EFF6FF\n500\t#3B82F6\t*\n950\t#092656\n",
         ""},
        // Piped: a blank line between answers, an empty answer for a line that is no color.
        {{"ramp", "--steps=3", "--to", "rgb"},
         "white\nnope\n",
         2,
         "50\trgb(255 255 255)\t*\n500\trgb(134 134 134)\n950\trgb(41 41 41)\n\n",
         "line 2: cannot read 'nope'"},
        {{"harmony", "--kind", "complementary", "#8A7F74"},
         "",
         0,
         "complementary\t#8A7F74\t#77838D\n",
         ""},
        {{"name", "rebeccapurple", "#4682B5", "#010101"},
         "",
         0,
         "rebeccapurple\n~ steelblue (0.002)\n~ black (0.067)\n",
         ""},
        {{"ramp", "--steps", "22", "red"}, "", 2, "", "--steps '22'"},
        {{"ramp", "--hue-shift", "31", "red"}, "", 2, "", "--hue-shift '31'"},
        {{"ramp", "--to", "paint", "red"}, "", 2, "", "unknown form 'paint'; expected hex,"},
        {{"harmony", "--kind", "square", "red"}, "", 2, "", "unknown kind 'square'"},
    };
    for (const auto& c : cases) {
        const VerbRun r = runVerb(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
        if (c.errPart.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }
}
