// `huebench ramp` over 10,000 piped colors, through the same verb code the program runs; the
// target is under 1 s for all of them.
#include "cli/Cli.h"
#include "color/bascommon.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace
{

constexpr int lineCount = 10'000;

// One #RRGGBB line per color, spread over the cube so that most ramps need gamut mapping.
const std::string& pipedColors()
{
    static const std::string text = [] {
        std::string t;
        for (int i = 0; i < lineCount; ++i)
            t += bascommon::HexRGB(bascommon::ColorValue(i * 1677) & 0xFFFFFF) + "\n";
        return t;
    }();
    return text;
}

void RampPiped(benchmark::State& state, const char* verb)
{
    const std::string& input = pipedColors();
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        CliIo io{in, out, err};
        if (RunVerb({verb}, io, nullptr) != 0)
            state.SkipWithError("the verb failed");
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * lineCount);
}

BENCHMARK_CAPTURE(RampPiped, ramp, "ramp")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(RampPiped, harmony, "harmony")->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
