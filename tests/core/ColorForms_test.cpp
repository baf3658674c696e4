#include "color/ColorForms.h"

#include "color/ColorFormTable.h"
#include "color/ColorParser.h"
#include "color/CopyTexts.h"
#include "color/CssSpaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

using namespace bascommon;

namespace
{

struct CssExample {
    ColorValue color;
    const char *rgb, *hsl, *oklch;
};

// Published values of the CSS forms (oklch from the OKLab reference implementation).
const CssExample cssExamples[] = {
    {RGB(255, 161, 204), "rgb(255 161 204)", "hsl(332.6 100% 81.6%)",
     "oklch(81.54% 0.12234 351.21)"},
    {RGB(18, 171, 52), "rgb(18 171 52)", "hsl(133.3 81% 37.1%)", nullptr},
    {RGB(0, 0, 255), "rgb(0 0 255)", "hsl(240 100% 50%)", "oklch(45.2% 0.31321 264.05)"},
    {RGB(255, 0, 0), "rgb(255 0 0)", "hsl(0 100% 50%)", "oklch(62.8% 0.25768 29.23)"},
    {RGB(255, 255, 255), "rgb(255 255 255)", "hsl(0 0% 100%)", "oklch(100% 0 0)"},
    {RGB(119, 119, 119), "rgb(119 119 119)", "hsl(0 0% 46.7%)", "oklch(56.93% 0 0)"},
    {RGB(0, 0, 0), "rgb(0 0 0)", "hsl(0 0% 0%)", "oklch(0% 0 0)"}};

TEST(ColorForms, CssWorkedExamples)
{
    for (const CssExample& e : cssExamples) {
        EXPECT_EQ(CssRgb(e.color), e.rgb);
        EXPECT_EQ(CssHsl(e.color), e.hsl);
        if (e.oklch) {
            EXPECT_EQ(CssOklch(e.color), e.oklch);
        }
    }
}

struct SpaceExample {
    ColorValue color;
    const char *lab, *lch, *oklab, *hwb, *p3;
};

// colorjs.io's coordinates of each color, rounded half up to the decimals of each form.
const SpaceExample spaceExamples[] = {
    {RGB(255, 0, 0), "lab(54.29 80.8 69.89)", "lch(54.29 106.84 40.86)",
     "oklab(62.8% 0.22486 0.12585)", "hwb(0 0% 0%)", "color(display-p3 0.9175 0.2003 0.1386)"},
    {RGB(90, 29, 131), "lab(25.36 41.43 -45.58)", "lch(25.36 61.59 312.27)",
     "oklab(38.11% 0.09819 -0.12807)", "hwb(275.9 11.4% 48.6%)",
     "color(display-p3 0.3251 0.1297 0.4948)"},
    {RGB(255, 161, 204), "lab(76.96 39.9 -6.66)", "lch(76.96 40.45 350.53)",
     "oklab(81.54% 0.12091 -0.01869)", "hwb(332.6 63.1% 0%)",
     "color(display-p3 0.948 0.6482 0.7934)"},
    {RGB(119, 119, 119), "lab(50.03 0 0)", "lch(50.03 0 0)", "oklab(56.93% 0 0)",
     "hwb(0 46.7% 53.3%)", "color(display-p3 0.4667 0.4667 0.4667)"},
    {RGB(18, 171, 52), "lab(61.25 -55.74 47.84)", "lch(61.25 73.45 139.36)",
     "oklab(64.6% -0.1618 0.11235)", "hwb(133.3 7.1% 32.9%)",
     "color(display-p3 0.308 0.6606 0.2736)"},
    {RGB(0, 0, 255), "lab(29.57 68.29 -112.03)", "lch(29.57 131.2 301.36)",
     "oklab(45.2% -0.03246 -0.31153)", "hwb(240 0% 0%)", "color(display-p3 0 0 0.9596)"},
    {RGB(255, 255, 255), "lab(100 0 0)", "lch(100 0 0)", "oklab(100% 0 0)", "hwb(0 100% 0%)",
     "color(display-p3 1 1 1)"},
    {RGB(0, 0, 0), "lab(0 0 0)", "lch(0 0 0)", "oklab(0% 0 0)", "hwb(0 0% 100%)",
     "color(display-p3 0 0 0)"}};

TEST(ColorForms, CssSpacesOfReferenceColors)
{
    for (const SpaceExample& e : spaceExamples) {
        SCOPED_TRACE(HexRGB(e.color));
        EXPECT_EQ(CssLab(e.color), e.lab);
        EXPECT_EQ(CssLch(e.color), e.lch);
        EXPECT_EQ(CssOklab(e.color), e.oklab);
        EXPECT_EQ(CssHwb(e.color), e.hwb);
        EXPECT_EQ(CssP3(e.color), e.p3);
    }
}

// Exact halves of the 8-bit HSL and HWB values round up: saturation 42/96 = 43.75%, 10200/160 =
// 63.75%, hue 60/16 = 3.75 degrees (in double each comes out a hair below the half).
TEST(ColorForms, HalvesOfExactHslValuesRoundUp)
{
    for (const auto& [color, text] : {std::pair{RGB(90, 29, 131), "hsl(275.9 63.8% 31.4%)"},
                                      {RGB(69, 27, 27), "hsl(0 43.8% 18.8%)"},
                                      {RGB(33, 18, 17), "hsl(3.8 32% 9.8%)"},
                                      {RGB(33, 18, 17), "hwb(3.8 6.7% 87.1%)"}})
        EXPECT_EQ(text[1] == 's' ? CssHsl(color) : CssHwb(color), text);
}

TEST(ColorForms, AlphaBelowOneIsWrittenWithUpToThreeDecimals)
{
    const ColorValue red = RGB(255, 0, 0);
    for (const auto& [text, expected] :
         {std::pair{CssRgb(red, 0.5), "rgb(255 0 0 / 0.5)"},
          {CssHsl(red, 0.25), "hsl(0 100% 50% / 0.25)"},
          {CssOklch(red, 0.0), "oklch(62.8% 0.25768 29.23 / 0)"},
          {CssLab(red, 0.3333), "lab(54.29 80.8 69.89 / 0.333)"},
          {CssP3(red, 0.9996), "color(display-p3 0.9175 0.2003 0.1386)"},
          {CssHex8(red, 0.5), "#FF000080"}, // 127.5 rounds up
          {CssHex8(red, 1.0), "#FF0000FF"},
          {CssHex8(RGB(10, 0, 255), 0.0), "#0A00FF00"}})
        EXPECT_EQ(text, expected);
}

TEST(ColorForms, HsvRoundsHalfUpAndWrapsTheHue)
{
    for (const auto& [color, h, s, v] : {std::tuple{RGB(255, 161, 204), 333, 37, 100},
                                         {RGB(255, 0, 1), 0, 100, 100},
                                         {RGB(0, 0, 0), 0, 0, 0},
                                         {RGB(0, 0, 255), 240, 100, 100}}) {
        const Hsv hsv = HsvOf(color);
        EXPECT_EQ((std::array{hsv.H, hsv.S, hsv.V}), (std::array{h, s, v})) << HexRGB(color);
    }
    EXPECT_EQ(ColorOfHsv(0, 0, 30), RGB(77, 77, 77)); // 76.5 rounds up, not to even
    EXPECT_EQ(ColorOfHsv(480, 100, 100), RGB(0, 255, 0));
    EXPECT_EQ(ColorOfHsv(300, 150, 100), RGB(255, 0, 255)); // S clamped to 100
}

// The forms of a color whose text does not read back to it through the color reader.
std::vector<std::string> unreadForms(ColorValue c)
{
    std::vector<std::string> bad;
    for (const ColorFormRow& form : ColorFormTable()) {
        if (form.reader == FormReader::None)
            continue;
        const std::string text = form.write(c, 1.0);
        if (ParseColor(text) != c)
            bad.push_back(text);
    }
    return bad;
}

// Expected colors: colorjs.io 0.7.1, oklch() brought into sRGB by toGamut({method: "css"}),
// channels rounded half up.
TEST(ColorForms, OklchStepsBothWays)
{
    const struct {
        ColorValue color;
        OklchSteps steps;
    } of[] = {{RGB(255, 0, 0), {628, 258, 29}},
              {RGB(119, 119, 119), {569, 0, 0}},
              {RGB(255, 161, 204), {815, 122, 351}}};
    for (const auto& c : of) {
        const OklchSteps s = OklchStepsOf(c.color);
        EXPECT_EQ(std::tie(s.L, s.C, s.H), std::tie(c.steps.L, c.steps.C, c.steps.H)) << c.color;
    }
    const struct {
        OklchSteps steps;
        const char* hex;
        bool outside;
    } to[] = {{{815, 0, 0}, "#C2C2C2", false},
              {{700, 370, 150}, "#00C248", true},
              {{500, 100, 359}, "#904962", false}};
    for (const auto& c : to) {
        EXPECT_EQ(HexRGB(ColorOfOklchSteps(c.steps)), c.hex);
        EXPECT_EQ(OklchStepsOutsideSrgb(c.steps), c.outside) << c.hex;
    }
}

// Every color's text forms read back to the same color, the cube split between two threads.
TEST(ColorFormsCube, EveryTextFormReadsBackToTheSameColor)
{
    constexpr int parts = 2;
    std::vector<std::vector<std::string>> failures(parts);
    std::vector<std::thread> threads;
    for (int part = 0; part < parts; ++part)
        threads.emplace_back([part, &failures] {
            auto& mine = failures[static_cast<std::size_t>(part)];
            for (ColorValue c = part; c < (1 << 24) && mine.size() < 10; c += parts)
                for (const std::string& text : unreadForms(c))
                    mine.push_back(text + " (" + bascommon::HexRGB(c) + ")");
        });
    for (std::thread& t : threads)
        t.join();
    for (const auto& part : failures)
        for (const std::string& text : part)
            ADD_FAILURE() << text << " does not read back";
}

const CopyBoxTexts blueish{"10,0,255", "#0A00FF", "0A", "00", "FF"};

TEST(CopyTexts, EveryFormOfOneColorByteForByte)
{
    const char* const expected[copyFormCount] = {
        "RGB(10,0,255)", "10,0,255",       "#0A00FF",     "\"#0A00FF\"", "0A00FF",
        "\"0A00FF\"",    "Hex={0A,00,FF}", "&H00FF000A&", "$00FF000A",   "0xFF000A"};
    for (int i = 0; i < copyFormCount; ++i)
        EXPECT_EQ(CopyText(static_cast<CopyForm>(i), blueish), expected[i]) << i;
}

TEST(CopyTexts, PendingEditsAreCopiedAsTheyStandWithoutReadingPastShortTexts)
{
    const CopyBoxTexts pending{"1,", "#A", "a", "", "F"};
    EXPECT_EQ(CopyText(CopyForm::Dec1, pending), "RGB(1,)");
    EXPECT_EQ(CopyText(CopyForm::Hex4, pending), "\"A\"");
    EXPECT_EQ(CopyText(CopyForm::Hex5, pending), "Hex={A,,}");
    EXPECT_EQ(CopyText(CopyForm::VB, pending), "&H00Fa&");
    EXPECT_EQ(CopyText(CopyForm::Hex3, CopyBoxTexts{}), "");
}

// Beyond the forms the program writes itself, which the whole-cube read-back in ColorForms_test
// covers: other cases, spacing, quotes, percentages, angles, alpha and names.
TEST(ColorParser, AcceptedForms)
{
    for (const char* pink :
         {"#ffa1cc", "ffa1cc", "  \"#FFA1CC\";  ", "'FFA1CC'", "rgb( 255 , 161 , 204 )",
          "rgba(255, 161, 204, 0.5)", "rgb(255 161 204 / 50%)", "hsla(332.6, 100%, 81.6%, 1)",
          "255, 161, 204", "&hcca1ff&"})
        EXPECT_EQ(ParseColor(pink), RGB(255, 161, 204)) << pink;
    // rgb(100% 0% 50%): 127.5 rounds half up.
    for (const auto& [text, hex] : {std::pair{"#FAC", "#FFAACC"},
                                    {"fac", "#FFAACC"},
                                    {"rgb(100% 0% 50%)", "#FF0080"},
                                    {"rgb(300 -4 127.6)", "#FF0080"},
                                    {"hsl(0.5turn 100% 50%)", "#00FFFF"},
                                    {"hsl(-120deg 100% 50%)", "#0000FF"},
                                    {"oklch(0.628 0.25768 29.23)", "#FF0000"},
                                    {"oklch(120% 0.3 40)", "#FFFFFF"},
                                    {"HotPink", "#FF69B4"},
                                    {"rebeccapurple", "#663399"},
                                    {"lightgoldenrodyellow", "#FAFAD2"},
                                    {"aliceblue", "#F0F8FF"},
                                    {"yellowgreen", "#9ACD32"}})
        EXPECT_EQ(HexRGB(ParseColor(text).value_or(-1)), hex) << text;
}

TEST(ColorParser, RefusedTexts)
{
    // A long run of digits must not overflow on its way to refusal.
    for (const char* text : {"", "   ", "#", "#FFA1C", "#FFA1CCD", "#ddddddddddddddddddddddddddd",
                             "#GGHHII", "ffa1c", "notacolor", "color: #FFA1CC", "256,0,0", "1,2",
                             "1,2,3,4", "-1,0,0", "\"#FFA1CC", "#FFA1CC;;x"})
        EXPECT_FALSE(ParseColor(text)) << "'" << text << "'";
    for (const char* text :
         {"rgb(1 2)", "rgb(1 2 3 4)", "rgb(1, 2 3)", "rgb(1 2 3 /)", "rgb(1px 2 3)", "rgb(a b c)",
          "rgb(1 2 3", "cmyk(1 2 3)", "hsl(10 20% 30px)", "oklch(50% 0.1 20px)", "&H01CCA1FF&",
          "&HCCA1FF", "$11CCA1FF", "0xCCA1", "Hex={FF,A1}", "Hex={FF,A1,CG}"})
        EXPECT_FALSE(ParseColor(text)) << "'" << text << "'";
}

} // namespace

TEST(ColorValue, ComposesRedLowBlueHighAndWritesEveryTextForm)
{
    const ColorValue c = RGB(1, 126, 171);
    EXPECT_EQ(c, 0xAB7E01);
    EXPECT_EQ((std::array{GetRed(c), GetGreen(c), GetBlue(c)}), (std::array{1, 126, 171}));
    EXPECT_EQ(HexRGB(c) + " " + HexBGR(c) + " " + DecRGB(c) + " " + HexRed(c) + HexGreen(c) +
                  HexBlue(c),
              "#017EAB AB7E01 1,126,171 017EAB");
}

// Each component goes to the nearest multiple of 51, a half (25.5 above one) rounding down.
TEST(WebSafe, RoundsHalfDownAtTwentyFiveAndTheWholeCubeIsIdempotentAndSafe)
{
    EXPECT_EQ(MakeWebSafe(RGB(25, 26, 230)), RGB(0, 51, 255));
    EXPECT_EQ(MakeWebSafe(RGB(229, 26, 25)), RGB(204, 51, 0));
    EXPECT_EQ(MakeWebSafe(RGB(76, 77, 127)), RGB(51, 102, 102));
    int safeCount = 0;
    for (ColorValue c = 0; c < (1 << 24); ++c) {
        const ColorValue safe = MakeWebSafe(c);
        if (!IsWebSafe(safe) || MakeWebSafe(safe) != safe)
            FAIL() << "color " << c;
        if (IsWebSafe(c)) {
            ++safeCount;
            if (safe != c)
                FAIL() << "web-safe color changed: " << c;
        }
    }
    EXPECT_EQ(safeCount, 216);
}
