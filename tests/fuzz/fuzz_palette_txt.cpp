// Palette files of other programs as found anywhere: the readTxt reader.

#include "PaletteFuzz.h"

HUEBENCH_PALETTE_READER_TARGET(readTxt)
