// Palette files of other programs as found anywhere: the readGpl reader.

#include "PaletteFuzz.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::checkPaletteReader(readGpl(std::string_view(reinterpret_cast<const char*>(data), size)));
    return 0;
}
