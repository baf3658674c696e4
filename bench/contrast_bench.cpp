// huebench contrast on 10,000 piped pairs, the way a script pipes a list through it.
#include "cli/Cli.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>

namespace
{

constexpr int pairCount = 10'000;

std::string pairLines()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> color(0, 0xFFFFFF);
    std::string lines;
    char line[32];
    for (int i = 0; i < pairCount; ++i) {
        std::snprintf(line, sizeof line, "#%06X\t#%06X\n", color(random), color(random));
        lines += line;
    }
    return lines;
}

void ContrastTenThousandPipedPairs(benchmark::State& state)
{
    const std::string input = pairLines();
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        CliIo io{in, out, err};
        const auto status = RunVerb({"contrast"}, io, [](const std::optional<std::string>&) {
            return std::filesystem::path();
        });
        if (status != 0)
            state.SkipWithError("contrast refused a generated pair");
        benchmark::DoNotOptimize(out.str());
    }
    state.SetItemsProcessed(state.iterations() * pairCount);
}
BENCHMARK(ContrastTenThousandPipedPairs)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
