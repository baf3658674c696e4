#include "app/frmabout.h"
