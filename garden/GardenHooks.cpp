#include "garden/GardenHooks.h"

GardenHooks gardenHooks;
