#include "color/cClrModels.h"
