#include "app/ColorEditor.h"
