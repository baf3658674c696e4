// Palette files of other programs as found anywhere: the readAse reader.

#include "PaletteFuzz.h"

HUEBENCH_PALETTE_READER_TARGET(readAse)
