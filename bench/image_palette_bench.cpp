// The dominant colors of a 24-megapixel (6000 x 4000) photo-like image: the counting and
// k-means alone, and the whole way from a PNG or JPEG file through Qt's readers. The target is
// under 1 s.
#include "palette/ImagePalette.h"
#include "platform/ImageFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace
{

constexpr int width = 6000, height = 4000;

// Smooth gradients with grain, like a photo: tens of thousands of distinct histogram cells.
const QImage& photo()
{
    static const QImage image = [] {
        QImage img(width, height, QImage::Format_RGB32);
        std::uint32_t noise = 12345;
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(img.scanLine(y));
            for (int x = 0; x < width; ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int grain = static_cast<int>(noise >> 28) - 8;
                const auto channel = [grain](double v) {
                    return static_cast<std::uint32_t>(
                        std::clamp(static_cast<int>(v) + grain, 0, 255));
                };
                const double u = double(x) / width, v = double(y) / height;
                line[x] = 0xFF000000u | channel(128 + 120 * std::sin(6 * u + 2 * v)) << 16 |
                          channel(100 + 90 * std::cos(4 * v - 3 * u)) << 8 |
                          channel(60 + 60 * std::sin(9 * u * v));
            }
        }
        return img;
    }();
    return image;
}

void CountAndCluster(benchmark::State& state)
{
    const QImage& image = photo();
    for (auto _ : state) {
        PixelHistogram histogram;
        for (int y = 0; y < height; ++y)
            histogram.addPixels(reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)),
                                width);
        benchmark::DoNotOptimize(DominantColors(histogram, static_cast<int>(state.range(0))));
    }
}

void FromFile(benchmark::State& state, const char* format)
{
    const std::string file = (QDir::tempPath() + "/huebench-bench-photo." + format).toStdString();
    if (!photo().save(QString::fromStdString(file), nullptr, 90))
        state.SkipWithError("cannot write the test image");
    for (auto _ : state)
        benchmark::DoNotOptimize(PaletteOfImage(ReadImageFile, file, imageColorsDefault));
    QFile::remove(QString::fromStdString(file));
}

BENCHMARK(CountAndCluster)->Arg(8)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FromFile, jpeg, "jpg")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(FromFile, png, "png")->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // Qt's image plugins need an application object
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
