// Palette files of other programs as found anywhere: the readAco reader.

#include "PaletteFuzz.h"

HUEBENCH_PALETTE_READER_TARGET(readAco)
