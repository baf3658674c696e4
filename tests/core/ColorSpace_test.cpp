#include "color/ColorSpace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using bascommon::RGB;

namespace
{

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

TEST(ColorSpace, GamutMappingKeepsLightnessAndHueAndReducesChromaOnly)
{
    // Within what one 8-bit step moves a color; below L 0.2 the steps grow too coarse to tell.
    for (double L = 0.2; L < 0.99; L += 0.05)
        for (double H = 0; H < 360; H += 7.5) {
            const OkLch wanted{L, 0.37, H};
            const OkLch got = OkLchOf(GamutMapToSrgb(wanted));
            EXPECT_NEAR(got.L, L, 0.006) << L << " " << H;
            EXPECT_LT(got.C, wanted.C);
            // The distance across the hue line, in OKLab units.
            const double dH = std::remainder(got.H - H, 360.0) * std::numbers::pi / 180.0;
            EXPECT_LT(std::fabs(got.C * std::sin(dH)), 0.004) << L << " " << H;
        }
}

TEST(ColorSpace, GamutMappingLeavesColorsInsideAlone)
{
    for (bascommon::ColorValue c :
         {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 161, 204), RGB(1, 2, 3)}) {
        EXPECT_FALSE(NeedsGamutMapping(OkLchOf(c)));
        EXPECT_EQ(GamutMapToSrgb(OkLchOf(c)), c);
    }
    EXPECT_TRUE(NeedsGamutMapping(OkLch{0.7, 0.37, 150}));
    EXPECT_TRUE(InSrgbGamut(OkLabOf(RGB(0, 255, 0))));
    EXPECT_FALSE(InSrgbGamut(OkLabOfOkLch(OkLch{0.7, 0.37, 150})));
    EXPECT_EQ(GamutMapToSrgb(OkLch{0.0, 0.3, 40}), RGB(0, 0, 0));
}

} // namespace
