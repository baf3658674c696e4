// Any text as a color: nested math functions, color-mix() and relative colors included. A color
// read is a valid 8-bit color with an alpha 0-1; a refusal always says why.

#include "FuzzSupport.h"

#include "color/ColorParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ColorReading reading = ReadColor(fuzz::text(data, size));
    if (reading.color) {
        FUZZ_CHECK(reading.color->color >= 0 && reading.color->color <= 0xFFFFFF);
        FUZZ_CHECK(reading.color->alpha >= 0 && reading.color->alpha <= 1);
    } else {
        FUZZ_CHECK(!reading.error.empty());
    }
    return 0;
}
