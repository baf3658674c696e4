#include "app/frmshowcolor.h"
