#include "app/frmInput.h"
