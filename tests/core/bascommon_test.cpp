#include "color/bascommon.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace bascommon;

namespace
{

struct TextForms {
    int r, g, b;
    const char *hexRgb, *hexBgr, *decRgb;
};

const TextForms textCases[] = {
    {255, 255, 113, "#FFFF71", "71FFFF", "255,255,113"},
    {0, 0, 0, "#000000", "000000", "0,0,0"},
    {10, 0, 255, "#0A00FF", "FF000A", "10,0,255"},
    {255, 255, 255, "#FFFFFF", "FFFFFF", "255,255,255"},
    {1, 16, 171, "#0110AB", "AB1001", "1,16,171"},
};

} // namespace

TEST(ColorValue, ComposesRedLowBlueHigh)
{
    EXPECT_EQ(RGB(255, 0, 0), 0x0000FF);
    EXPECT_EQ(RGB(0, 0, 255), 0xFF0000);
    EXPECT_EQ(RGB(0x1A, 0x2B, 0x3C), 0x3C2B1A);
    for (int v = 0; v < 256; ++v) {
        const ColorValue c = RGB(v, 255 - v, v ^ 0x5A);
        EXPECT_EQ(GetRed(c), v);
        EXPECT_EQ(GetGreen(c), 255 - v);
        EXPECT_EQ(GetBlue(c), v ^ 0x5A);
    }
}

TEST(ColorValue, TextFormsOfWorkedExamples)
{
    for (const auto& t : textCases) {
        const ColorValue c = RGB(t.r, t.g, t.b);
        EXPECT_EQ(HexRGB(c), t.hexRgb);
        EXPECT_EQ(HexBGR(c), t.hexBgr);
        EXPECT_EQ(DecRGB(c), t.decRgb);
    }
    EXPECT_EQ(HexRed(RGB(10, 0, 255)), "0A");
    EXPECT_EQ(HexGreen(RGB(10, 0, 255)), "00");
    EXPECT_EQ(HexBlue(RGB(10, 0, 255)), "FF");
}

TEST(WebSafe, RoundsHalfDownAtTwentyFive)
{
    EXPECT_EQ(MakeWebSafe(RGB(25, 26, 230)), RGB(0, 51, 255));
    EXPECT_EQ(MakeWebSafe(RGB(229, 26, 25)), RGB(204, 51, 0));
    EXPECT_TRUE(IsWebSafe(RGB(204, 51, 0)));
    EXPECT_FALSE(IsWebSafe(RGB(229, 26, 25)));
}

TEST(WebSafe, EveryComponentGoesToNearestMultipleOf51)
{
    for (int x = 0; x < 256; ++x) {
        const int nearest = static_cast<int>(std::floor(x / 51.0 + 0.5)) * 51;
        EXPECT_EQ(GetRed(MakeWebSafe(RGB(x, 0, 0))), nearest) << x;
        EXPECT_EQ(GetGreen(MakeWebSafe(RGB(0, x, 0))), nearest) << x;
        EXPECT_EQ(GetBlue(MakeWebSafe(RGB(0, 0, x))), nearest) << x;
    }
}

TEST(WebSafe, WholeCubeIsIdempotentAndSafe)
{
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
