// Plain text palettes: one color per line in any form the color parser reads.
#include "palette/PaletteFormats.h"

#include "color/ColorParser.h"
#include "palette/TextLines.h"

PaletteReadResult readTxt(std::string_view bytes)
{
    PaletteReadResult result;
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        result.fault =
            PaletteFault{nul, "not a text file (a NUL byte)", FaultKind::NotThisFormat, {}};
        return result;
    }
    forEachLine(bytes, [&](std::string_view line, std::uint64_t number, std::uint64_t offset) {
        line = trimBlanks(line);
        if (line.empty() || line.starts_with("//") || line.starts_with(';'))
            return true;
        if (const auto color = ParseColor(line))
            result.colors.push_back({*color, {}});
        else
            result.skipped.push_back({number, "not a color"});
        if (result.colors.size() <= maxPaletteColors)
            return true;
        result = {};
        result.fault = PaletteFault{offset,
                                    "more than " + std::to_string(maxPaletteColors) + " colors",
                                    FaultKind::TooLarge,
                                    {}};
        return false;
    });
    return result;
}
