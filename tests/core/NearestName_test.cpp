// The nearest CSS named color: against culori, and against a brute-force search over the cube.
#include "color/CssSpaces.h"
#include "color/NamedColors.h"
#include "color/NearestName.h"

#include <gtest/gtest.h>

using bascommon::ColorValue;
using bascommon::RGB;

namespace
{

ColorValue colorOf(int rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

} // namespace

// Names and distances from culori 4.0.2: nearest(Object.keys(colorsNamed),
// differenceEuclidean('oklab')).
TEST(NearestName, MatchesCulori)
{
    const struct {
        int rgb;
        const char* text;
        double distance;
    } cases[] = {
        {0x4682B5, "~ steelblue (0.002)", 0.001576},
        {0x3B82F6, "~ dodgerblue (0.036)", 0.036277},
        {0x808285, "~ gray (0.008)", 0.007887},
        {0xFFA1CC, "~ lightpink (0.058)", 0.058083},
        {0x123456, "~ midnightblue (0.087)", 0.086548},
        {0x010101, "~ black (0.067)", 0.067205},
        {0x7FFF01, "~ chartreuse (0.000)", 0.000114},
        {0x663399, "rebeccapurple", 0},
        {0xFF0000, "red", 0},
        {0x00FFFF, "aqua", 0}, // aqua and cyan are one color: the first name wins
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestNameText(colorOf(c.rgb)), c.text);
        EXPECT_NEAR(NearestNamed(colorOf(c.rgb)).distance, c.distance, 1e-5) << c.text;
    }
}

// Every 5th value of each channel (140,608 colors): the search finds a name at the smallest
// distance, the first such name, as a scan of all 148 does.
TEST(NearestName, AgreesWithBruteForceOverTheCube)
{
    std::vector<OkLab> named;
    for (const NamedColor& n : namedColors)
        named.push_back(OkLabOf(colorOf(n.rgb)));
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const ColorValue color = RGB(r, g, b);
                const OkLab lab = OkLabOf(color);
                std::size_t best = 0;
                for (std::size_t i = 1; i < named.size(); ++i)
                    if (DeltaEOK(lab, named[i]) < DeltaEOK(lab, named[best]))
                        best = i;
                const NearestNamedColor found = NearestNamed(color);
                ASSERT_EQ(found.name, namedColors[best].name) << bascommon::HexRGB(color);
                ASSERT_EQ(found.exact, colorOf(namedColors[best].rgb) == color);
            }
}
