#include "color/frmpreview.h"
