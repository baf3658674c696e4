// Dominant colors of synthetic images: blocks of known colors and areas.
#include "palette/ImagePalette.h"

#include <gtest/gtest.h>

#include <cstdint>

using bascommon::ColorValue;
using bascommon::RGB;

namespace
{

struct Block {
    std::uint32_t argb;
    int pixels;
};

PixelHistogram imageOf(const std::vector<Block>& blocks)
{
    std::vector<std::uint32_t> pixels;
    for (const Block& block : blocks)
        pixels.insert(pixels.end(), static_cast<std::size_t>(block.pixels), block.argb);
    PixelHistogram histogram;
    histogram.addPixels(pixels.data(), pixels.size());
    return histogram;
}

std::vector<ColorValue> colorsOf(const std::vector<DominantColor>& dominant)
{
    std::vector<ColorValue> colors;
    for (const DominantColor& d : dominant)
        colors.push_back(d.color);
    return colors;
}

} // namespace

TEST(ImagePalette, RecoversBlocksExactlyLargestFirst)
{
    const struct {
        std::vector<Block> blocks;
        int count;
        std::vector<ColorValue> expected;
    } cases[] = {
        // Listed smallest first: the palette ranks them by area.
        {{{0xFF222222, 100}, {0xFFFFFF00, 200}, {0xFF3B82F6, 300}, {0xFFFF0000, 400}},
         4,
         {RGB(255, 0, 0), RGB(0x3B, 0x82, 0xF6), RGB(255, 255, 0), RGB(0x22, 0x22, 0x22)}},
        // Asking for more colors than the image holds gives the ones it holds.
        {{{0xFF10E0A0, 50}, {0xFF801020, 70}}, 8, {RGB(0x80, 0x10, 0x20), RGB(0x10, 0xE0, 0xA0)}},
        // Transparent pixels, however many, are not counted; half-transparent ones are.
        {{{0x00FFFFFF, 5000}, {0x7F00FF00, 900}, {0x80000080, 30}, {0xFFF0F0F0, 20}},
         4,
         {RGB(0, 0, 0x80), RGB(0xF0, 0xF0, 0xF0)}},
        // One color in two blocks is one color; a small block still gets its own cluster.
        {{{0xFF000000, 10}, {0xFF0000FF, 600}, {0xFF0000FF, 400}},
         2,
         {RGB(0, 0, 0xFF), RGB(0, 0, 0)}},
    };
    for (const auto& c : cases) {
        const auto dominant = DominantColors(imageOf(c.blocks), c.count);
        EXPECT_EQ(colorsOf(dominant), c.expected);
    }
}

TEST(ImagePalette, ClustersNearShadesAndWeighsThemByPixels)
{
    // Two families of three near shades each; two colors: one per family, the larger first,
    // each at its pixel-weighted middle.
    const auto dominant = DominantColors(imageOf({{0xFFF00000, 100},
                                                  {0xFFF80000, 100},
                                                  {0xFFFF0000, 100},
                                                  {0xFF0000E0, 500},
                                                  {0xFF0000F0, 500},
                                                  {0xFF0000FF, 500}}),
                                         2);
    ASSERT_EQ(dominant.size(), 2u);
    EXPECT_EQ(dominant[0].pixels, 1500u);
    EXPECT_EQ(dominant[1].pixels, 300u);
    EXPECT_NEAR(bascommon::GetBlue(dominant[0].color), 0xF0, 2);
    EXPECT_NEAR(bascommon::GetRed(dominant[1].color), 0xF8, 2);
    EXPECT_EQ(bascommon::GetGreen(dominant[0].color) + bascommon::GetRed(dominant[0].color), 0);
}

TEST(ImagePalette, RefusesWhatCannotBeReadAndImagesWithoutOpaquePixels)
{
    const ImageReader broken = [](const std::string&) {
        return ImageReading{std::nullopt, "cannot be read as an image: Unsupported image format"};
    };
    EXPECT_EQ(PaletteOfImage(broken, "x.png", 8).error,
              "cannot be read as an image: Unsupported image format");
    const ImageReader clear = [](const std::string&) {
        return ImageReading{imageOf({{0x00123456, 64}}), {}};
    };
    const auto result = PaletteOfImage(clear, "clear.png", 8);
    EXPECT_EQ(result.error, "the image has no opaque pixels");
    EXPECT_TRUE(result.colors.empty());
}
