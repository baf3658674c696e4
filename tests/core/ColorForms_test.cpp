#include "color/ColorForms.h"

#include "color/ColorParser.h"
#include "color/CopyTexts.h"

#include <gtest/gtest.h>

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

// Every color's text forms read back to the same color: the CSS forms and the copy forms.
TEST(ColorFormsCube, EveryTextFormReadsBackToTheSameColor)
{
    int failures = 0;
    for (ColorValue c = 0; c < (1 << 24) && failures < 10; ++c) {
        const std::string texts[] = {CssRgb(c), CssHsl(c), CssOklch(c)};
        for (const std::string& text : texts)
            if (ParseColor(text) != c) {
                ADD_FAILURE() << text << " read back as "
                              << bascommon::HexRGB(ParseColor(text).value_or(-1));
                ++failures;
            }
        // The copy forms are exact integers: every 7th color covers every digit of each place.
        if (c % 7 == 0)
            for (int form = 0; form < copyFormCount; ++form)
                if (ParseColor(copyText(static_cast<CopyForm>(form), c)) != c) {
                    ADD_FAILURE() << copyText(static_cast<CopyForm>(form), c);
                    ++failures;
                }
    }
}

} // namespace
