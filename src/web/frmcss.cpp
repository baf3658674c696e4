#include "web/frmcss.h"
