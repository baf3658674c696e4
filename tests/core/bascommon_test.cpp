#include "color/bascommon.h"

#include <gtest/gtest.h>

using namespace bascommon;

TEST(ColorValue, ComposesRedLowBlueHighAndWritesEveryTextForm)
{
    EXPECT_EQ(RGB(0x1A, 0x2B, 0x3C), 0x3C2B1A);
    for (int v = 0; v < 256; ++v) {
        const ColorValue c = RGB(v, 255 - v, v ^ 0x5A);
        EXPECT_EQ(GetRed(c), v);
        EXPECT_EQ(GetGreen(c), 255 - v);
        EXPECT_EQ(GetBlue(c), v ^ 0x5A);
    }
    const struct {
        int r, g, b;
        const char *hexRgb, *hexBgr, *decRgb;
    } cases[] = {
        {255, 255, 113, "#FFFF71", "71FFFF", "255,255,113"},
        {0, 0, 0, "#000000", "000000", "0,0,0"},
        {10, 0, 255, "#0A00FF", "FF000A", "10,0,255"},
        {1, 16, 171, "#0110AB", "AB1001", "1,16,171"},
    };
    for (const auto& t : cases) {
        const ColorValue c = RGB(t.r, t.g, t.b);
        EXPECT_EQ(HexRGB(c), t.hexRgb);
        EXPECT_EQ(HexBGR(c), t.hexBgr);
        EXPECT_EQ(DecRGB(c), t.decRgb);
    }
    EXPECT_EQ(HexRed(RGB(10, 0, 255)) + HexGreen(RGB(10, 0, 255)) + HexBlue(RGB(10, 0, 255)),
              "0A00FF");
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
