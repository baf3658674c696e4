#include "web/frmShowweb.h"
