#include "app/AppDataFolder.h"
