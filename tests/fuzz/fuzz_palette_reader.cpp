// Palette files of other programs as found anywhere, through the reader HUEBENCH_FUZZ_READER.

#include "FuzzSupport.h"

#include "palette/PaletteFormats.h"

HUEBENCH_FUZZ_TARGET(HUEBENCH_FUZZ_READER)
