// The color spaces of style sheets over 1,000,000 colors: sRGB to OKLCH (the oklch() text of a
// piped list of colors) and the gamut mapping of colors outside sRGB.
#include "color/CssSpaces.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int colorCount = 1'000'000;

void SrgbToOklch(benchmark::State& state)
{
    for (auto _ : state)
        for (int i = 0; i < colorCount; ++i)
            benchmark::DoNotOptimize(ConvertChannels(
                CssSpace::Srgb, CssSpace::Oklch, SrgbOf(bascommon::ColorValue(i * 16) & 0xFFFFFF)));
}
BENCHMARK(SrgbToOklch)->Unit(benchmark::kMillisecond);

// Every color at chroma 0.4, outside sRGB at every lightness and hue.
void GamutMapOutside(benchmark::State& state)
{
    constexpr int count = 10'000;
    for (auto _ : state)
        for (int i = 0; i < count; ++i)
            benchmark::DoNotOptimize(
                ColorOfChannels(CssSpace::Oklch, {0.05 + 0.9 * i / count, 0.4, i * 0.36}));
}
BENCHMARK(GamutMapOutside)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
