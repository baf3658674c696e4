#include "picker/frmGetColor.h"
