// Palette files of other programs as found anywhere, through every reader of the format table;
// whatever a reader takes in, its format's writer gives back colors that read the same.

#include "FuzzSupport.h"

#include "palette/PaletteFormats.h"

namespace
{

std::vector<bascommon::ColorValue> colorsOf(const PaletteReadResult& result)
{
    std::vector<bascommon::ColorValue> colors;
    for (const auto& swatch : result.colors)
        colors.push_back(swatch.color);
    return colors;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes = fuzz::text(data, size);
    for (const auto& info : paletteFormats()) {
        if (info.recognises)
            info.recognises(bytes);
        if (!info.read)
            continue;
        const PaletteReadResult result = info.read(bytes);
        FUZZ_CHECK(!result.fault || (result.colors.empty() && result.skipped.empty()));
        if (result.fault || !info.write)
            continue;
        const auto colors = colorsOf(result);
        const PaletteReadResult again = info.read(info.write(result.title, colors));
        FUZZ_CHECK(!again.fault && colorsOf(again) == colors);
    }
    return 0;
}
