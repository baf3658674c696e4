#include "web/SchemeEditor.h"
