#include "color/ColorInfoPage.h"
