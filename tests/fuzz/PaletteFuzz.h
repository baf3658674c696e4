#pragma once

// The checks every palette format reader passes on any input: a fault leaves nothing behind;
// skipped places run forward; and the colors read, written again as a GIMP palette and as Adobe
// swatch exchange, read back the same.

#include "FuzzSupport.h"

#include "palette/PaletteFormats.h"

#include <algorithm>

namespace fuzz
{

inline void checkPaletteReader(const PaletteReadResult& result)
{
    if (result.fault) {
        FUZZ_CHECK(result.colors.empty() && result.skipped.empty());
        return;
    }
    FUZZ_CHECK(result.colors.size() <= maxPaletteColors);
    FUZZ_CHECK(std::is_sorted(result.skipped.begin(), result.skipped.end(),
                              [](const auto& a, const auto& b) { return a.where < b.where; }));
    std::vector<bascommon::ColorValue> colors;
    for (const auto& swatch : result.colors) {
        FUZZ_CHECK(swatch.color >= 0 && swatch.color <= 0xFFFFFF);
        colors.push_back(swatch.color);
    }
    for (const auto format : {PaletteFormat::Gpl, PaletteFormat::Ase}) {
        const std::string written = writePalette(format, result.title, colors);
        const auto again = format == PaletteFormat::Gpl ? readGpl(written) : readAse(written);
        FUZZ_CHECK(!again.fault && again.skipped.empty() && again.colors.size() == colors.size());
        for (std::size_t i = 0; i < colors.size(); ++i)
            FUZZ_CHECK(again.colors[i].color == colors[i]);
    }
}

} // namespace fuzz

// A fuzz target that runs `reader` on every input.
#define HUEBENCH_PALETTE_READER_TARGET(reader)                                                     \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)              \
    {                                                                                              \
        fuzz::checkPaletteReader(reader(fuzz::text(data, size)));                                  \
        return 0;                                                                                  \
    }
