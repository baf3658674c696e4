// `huebench convert --to FORM` over 1,000,000 piped colors, through the same verb code the
// program runs (standard input and output are string streams here).
#include "cli/Cli.h"
#include "color/bascommon.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace
{

constexpr int lineCount = 1'000'000;

// One #RRGGBB line per color, stepping through the cube so that every line differs.
const std::string& pipedColors()
{
    static const std::string text = [] {
        std::string t;
        t.reserve(lineCount * 8);
        for (int i = 0; i < lineCount; ++i)
            t += bascommon::HexRGB(bascommon::ColorValue(i * 16) & 0xFFFFFF) + "\n";
        return t;
    }();
    return text;
}

// Standard output as a terminal or pipe takes it: written through a buffer and gone, so that
// the figure is the conversion's, not the growth of one large string.
class CountingBuffer : public std::streambuf
{
public:
    std::size_t count = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        count += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override
    {
        ++count;
        return c;
    }
};

void ConvertPiped(benchmark::State& state, const char* form)
{
    const std::string& input = pipedColors();
    for (auto _ : state) {
        std::istringstream in(input);
        CountingBuffer written;
        std::ostream out(&written);
        std::ostringstream err;
        CliIo io{in, out, err};
        const auto status = RunVerb({"convert", "--to", form}, io, nullptr);
        if (status != 0)
            state.SkipWithError("convert failed");
        benchmark::DoNotOptimize(written.count);
    }
    state.SetItemsProcessed(state.iterations() * lineCount);
}

BENCHMARK_CAPTURE(ConvertPiped, oklch, "oklch")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ConvertPiped, lab, "lab")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ConvertPiped, p3, "p3")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ConvertPiped, hsl, "hsl")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(ConvertPiped, hex, "hex")->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
