#include "palette/ImagePalette.h"

#include "color/ColorSpace.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

using bascommon::ColorValue;

namespace
{

constexpr int cellBits = 5;
constexpr std::size_t cellCount = std::size_t{1} << (3 * cellBits);
constexpr int maxIterations = 100;
// Any fixed value: only that it never changes matters.
constexpr std::uint64_t seed = 0x9E3779B97F4A7C15ULL;

struct Point {
    OkLab lab;
    double weight;
};

double distance2(const OkLab& x, const OkLab& y)
{
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return dL * dL + da * da + db * db;
}

// A channel mean 0-255 to linear light, by the sRGB transfer function.
double linearOfMean(double channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::vector<Point> pointsOf(const PixelHistogram& histogram)
{
    std::vector<Point> points;
    for (const PixelHistogram::Cell& cell : histogram.cells()) {
        if (cell.pixels == 0)
            continue;
        const double n = static_cast<double>(cell.pixels);
        const LinearRgb linear{linearOfMean(static_cast<double>(cell.red) / n),
                               linearOfMean(static_cast<double>(cell.green) / n),
                               linearOfMean(static_cast<double>(cell.blue) / n)};
        points.push_back({OkLabOfLinear(linear), n});
    }
    return points;
}

// A uniform number in [0, 1) from the generator's raw output, the same on every library (the
// standard distributions are not specified bit for bit).
double uniform(std::mt19937_64& random)
{
    return static_cast<double>(random() >> 11) * 0x1.0p-53;
}

std::vector<OkLab> kMeansPlusPlus(const std::vector<Point>& points, std::size_t k)
{
    std::mt19937_64 random(seed);
    const auto heaviest =
        std::max_element(points.begin(), points.end(),
                         [](const Point& x, const Point& y) { return x.weight < y.weight; });
    std::vector<OkLab> centers{heaviest->lab};
    std::vector<double> nearest(points.size(), std::numeric_limits<double>::infinity());
    while (centers.size() < k) {
        double total = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            nearest[i] = std::min(nearest[i], distance2(points[i].lab, centers.back()));
            total += points[i].weight * nearest[i];
        }
        if (total <= 0)
            break; // every point already is a center
        const double target = uniform(random) * total;
        double sum = 0;
        std::size_t chosen = points.size();
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (nearest[i] <= 0)
                continue;
            chosen = i;
            sum += points[i].weight * nearest[i];
            if (sum > target)
                break;
        }
        centers.push_back(points[chosen].lab);
    }
    return centers;
}

struct Cluster {
    OkLab sum{0, 0, 0};
    double weight = 0;
};

} // namespace

PixelHistogram::PixelHistogram() : m_cells(cellCount) {}

void PixelHistogram::addPixels(const std::uint32_t* argb, std::size_t count)
{
    constexpr int drop = 8 - cellBits;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = argb[i];
        if ((p >> 24) < 128)
            continue;
        const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        Cell& cell =
            m_cells[((r >> drop) << (2 * cellBits)) | ((g >> drop) << cellBits) | (b >> drop)];
        ++cell.pixels;
        cell.red += r;
        cell.green += g;
        cell.blue += b;
        ++m_counted;
    }
}

std::vector<DominantColor> DominantColors(const PixelHistogram& histogram, int count)
{
    const std::vector<Point> points = pointsOf(histogram);
    if (points.empty())
        return {};
    const std::size_t k = std::min(
        points.size(), static_cast<std::size_t>(std::clamp(count, imageColorsMin, imageColorsMax)));
    std::vector<OkLab> centers = kMeansPlusPlus(points, k);

    std::vector<std::size_t> member(points.size(), centers.size());
    std::vector<Cluster> clusters(centers.size());
    for (int iteration = 0; iteration < maxIterations; ++iteration) {
        bool changed = false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            std::size_t best = 0;
            double bestDistance = distance2(points[i].lab, centers[0]);
            for (std::size_t c = 1; c < centers.size(); ++c) {
                const double d = distance2(points[i].lab, centers[c]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = c;
                }
            }
            changed |= member[i] != best;
            member[i] = best;
        }
        std::fill(clusters.begin(), clusters.end(), Cluster{});
        for (std::size_t i = 0; i < points.size(); ++i) {
            Cluster& cluster = clusters[member[i]];
            const double w = points[i].weight;
            cluster.sum = {cluster.sum.L + w * points[i].lab.L, cluster.sum.a + w * points[i].lab.a,
                           cluster.sum.b + w * points[i].lab.b};
            cluster.weight += w;
        }
        for (std::size_t c = 0; c < centers.size(); ++c)
            if (clusters[c].weight > 0) // an emptied cluster keeps its center
                centers[c] = {clusters[c].sum.L / clusters[c].weight,
                              clusters[c].sum.a / clusters[c].weight,
                              clusters[c].sum.b / clusters[c].weight};
        if (!changed)
            break;
    }

    std::vector<DominantColor> colors;
    for (std::size_t c = 0; c < centers.size(); ++c)
        if (clusters[c].weight > 0)
            colors.push_back({ColorOfLinear(LinearOfOkLab(centers[c])),
                              static_cast<std::uint64_t>(clusters[c].weight)});
    std::sort(colors.begin(), colors.end(), [](const DominantColor& x, const DominantColor& y) {
        return x.pixels != y.pixels ? x.pixels > y.pixels : x.color < y.color;
    });
    return colors;
}

ImagePaletteResult PaletteOfImage(const ImageReader& read, const std::string& file, int count)
{
    ImageReading reading = read(file);
    if (!reading.histogram)
        return {{}, reading.error.empty() ? std::string("cannot be read") : reading.error};
    auto colors = DominantColors(*reading.histogram, count);
    if (colors.empty())
        return {{}, "the image has no opaque pixels"};
    return {std::move(colors), {}};
}
