#include "color/ColorForms.h"

#include "color/ColorParser.h"
#include "color/CopyTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

using bascommon::ColorValue;
using bascommon::RGB;

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
    {RGB(0, 0, 0), "rgb(0 0 0)", "hsl(0 0% 0%)", "oklch(0% 0 0)"},
};

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

TEST(ColorForms, HsvRoundsHalfUpAndWrapsTheHue)
{
    struct Row {
        ColorValue color;
        Hsv hsv;
    };
    const Row rows[] = {
        {RGB(255, 161, 204), {333, 37, 100}},
        {RGB(255, 0, 0), {0, 100, 100}},
        {RGB(255, 0, 1), {0, 100, 100}},
        {RGB(128, 128, 128), {0, 0, 50}},
        {RGB(0, 0, 0), {0, 0, 0}},
        {RGB(0, 0, 255), {240, 100, 100}},
    };
    for (const Row& r : rows) {
        const Hsv hsv = HsvOf(r.color);
        EXPECT_EQ(hsv.H, r.hsv.H) << bascommon::HexRGB(r.color);
        EXPECT_EQ(hsv.S, r.hsv.S) << bascommon::HexRGB(r.color);
        EXPECT_EQ(hsv.V, r.hsv.V) << bascommon::HexRGB(r.color);
    }
    EXPECT_EQ(ColorOfHsv(0, 0, 30), RGB(77, 77, 77)); // 76.5 rounds up, not to even
    EXPECT_EQ(ColorOfHsv(120, 100, 100), RGB(0, 255, 0));
    EXPECT_EQ(ColorOfHsv(480, 100, 100), RGB(0, 255, 0));
    EXPECT_EQ(ColorOfHsv(300, 150, 100), RGB(255, 0, 255)); // S clamped to 100
}

TEST(ColorForms, FormatDecimalDropsTrailingZerosAndNegativeZero)
{
    EXPECT_EQ(FormatDecimal(81.6, 1), "81.6");
    EXPECT_EQ(FormatDecimal(100.0, 1), "100");
    EXPECT_EQ(FormatDecimal(0.120001, 5), "0.12");
    EXPECT_EQ(FormatDecimal(-0.000001, 5), "0");
}

std::string copyText(CopyForm form, ColorValue c)
{
    return CopyText(form,
                    CopyBoxTexts{bascommon::DecRGB(c), bascommon::HexRGB(c), bascommon::HexRed(c),
                                 bascommon::HexGreen(c), bascommon::HexBlue(c)});
}

// The texts of one color that do not read back to it.
std::vector<std::string> unreadForms(ColorValue c)
{
    std::vector<std::string> bad;
    const auto check = [&](const std::string& text) {
        if (ParseColor(text) != c)
            bad.push_back(text);
    };
    check(CssHsl(c));
    check(CssOklch(c));
    // The integer forms cannot lose digits: every 7th color puts every value in every place.
    if (c % 7 == 0) {
        check(CssRgb(c));
        for (int form = 0; form < copyFormCount; ++form)
            check(copyText(static_cast<CopyForm>(form), c));
    }
    return bad;
}

// Every color's text forms read back to the same color, the cube split among the cores.
TEST(ColorFormsCube, EveryTextFormReadsBackToTheSameColor)
{
    const int parts = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::vector<std::string>> failures(static_cast<std::size_t>(parts));
    std::vector<std::thread> threads;
    for (int part = 0; part < parts; ++part)
        threads.emplace_back([part, parts, &failures] {
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

} // namespace
