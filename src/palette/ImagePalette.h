#pragma once

#include "color/bascommon.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The dominant colors of an image: its pixels counted into a histogram, then clustered by
// k-means in OKLab. Decoding an image file is the window system's work; it hands the pixels
// over one row at a time (ImageReader).

inline constexpr int imageColorsDefault = 8;
inline constexpr int imageColorsMin = 1;
inline constexpr int imageColorsMax = 64;

// The pixels of an image, counted by color: 32,768 cells of 5 bits per channel, each holding
// its pixel count and the sums of its pixels' 8-bit channels, so that a cell's mean is exact
// for a cell of one color. Pixels more than half transparent are not counted.
class PixelHistogram
{
public:
    PixelHistogram();
    // Counts `count` pixels given as 0xAARRGGBB with straight (not premultiplied) alpha.
    void addPixels(const std::uint32_t* argb, std::size_t count);
    std::uint64_t countedPixels() const { return m_counted; }

    struct Cell {
        std::uint64_t pixels = 0, red = 0, green = 0, blue = 0;
    };
    const std::vector<Cell>& cells() const { return m_cells; }

private:
    std::vector<Cell> m_cells;
    std::uint64_t m_counted = 0;
};

// One color of an image palette with the number of pixels it stands for.
struct DominantColor {
    bascommon::ColorValue color;
    std::uint64_t pixels;
};

// Up to `count` (clamped into 1-64) dominant colors, the largest cluster first (ties: the lower
// color value first). Weighted k-means in OKLab over the histogram's cells (each at its mean
// color, weighted by its pixel count), started by k-means++ with a fixed seed: the first center
// is the most frequent cell, each further one drawn with probability proportional to weight
// times squared distance to the nearest center. Lloyd iterations run until no cell changes
// cluster (at most 100). Fewer colors come back when the image holds fewer distinct cells; none
// when it has no counted pixel. Deterministic: the same pixels give the same colors everywhere.
std::vector<DominantColor> DominantColors(const PixelHistogram& histogram, int count);

// What reading an image file gives: its histogram, or why it could not be read (a phrase such
// as "not an image file Qt can read: unsupported format").
struct ImageReading {
    std::optional<PixelHistogram> histogram;
    std::string error;
};
using ImageReader = std::function<ImageReading(const std::string& file)>;

// The palette of an image file: its dominant colors, or the reason it was refused (the
// reader's error, or "the image has no opaque pixels").
struct ImagePaletteResult {
    std::vector<DominantColor> colors;
    std::string error;
};
ImagePaletteResult PaletteOfImage(const ImageReader& read, const std::string& file, int count);
