// Palette files of other programs as found anywhere: the readGpl reader.

#include "PaletteFuzz.h"

HUEBENCH_PALETTE_READER_TARGET(readGpl)
