// Converts every color of the RGB cube (16,777,216 colors) to the other models.
#include "color/cClrModels.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace
{

constexpr std::int64_t cubeSize = 256 * 256 * 256;

template <typename Convert> void overTheCube(benchmark::State& state, Convert convert)
{
    for (auto _ : state) {
        std::uint32_t sum = 0;
        cClrModels color;
        for (int r = 0; r < 256; ++r) {
            color.rgbR(static_cast<std::uint8_t>(r));
            for (int g = 0; g < 256; ++g) {
                color.rgbG(static_cast<std::uint8_t>(g));
                for (int b = 0; b < 256; ++b) {
                    color.rgbB(static_cast<std::uint8_t>(b));
                    sum += convert(color);
                }
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * cubeSize);
}

void Cmy(benchmark::State& state)
{
    overTheCube(state,
                [](const cClrModels& c) { return std::uint32_t(c.cmyC() + c.cmyM() + c.cmyY()); });
}

void Cmyk(benchmark::State& state)
{
    overTheCube(state, [](const cClrModels& c) {
        return std::uint32_t(c.cmykC() + c.cmykM() + c.cmykY() + c.cmykK());
    });
}

void Hls(benchmark::State& state)
{
    overTheCube(state,
                [](const cClrModels& c) { return std::uint32_t(c.hlsH() + c.hlsL() + c.hlsS()); });
}

void YCbCr(benchmark::State& state)
{
    overTheCube(state, [](const cClrModels& c) {
        return std::uint32_t(c.ycbcrY() + c.ycbcrCb() + c.ycbcrCr());
    });
}

// What the Color Info window computes for one color, for every color.
void EveryModel(benchmark::State& state)
{
    overTheCube(state, [](const cClrModels& c) {
        return std::uint32_t(c.cmyC() + c.cmyM() + c.cmyY() + c.cmykC() + c.cmykM() + c.cmykY() +
                             c.cmykK() + c.hlsH() + c.hlsL() + c.hlsS() + c.ycbcrY() + c.ycbcrCb() +
                             c.ycbcrCr());
    });
}

} // namespace

BENCHMARK(Cmy)->Unit(benchmark::kMillisecond);
BENCHMARK(Cmyk)->Unit(benchmark::kMillisecond);
BENCHMARK(Hls)->Unit(benchmark::kMillisecond);
BENCHMARK(YCbCr)->Unit(benchmark::kMillisecond);
BENCHMARK(EveryModel)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
