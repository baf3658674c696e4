#include "picker/frmpick.h"
