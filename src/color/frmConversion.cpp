#include "color/frmConversion.h"
