#include "palette/PaletteView.h"
