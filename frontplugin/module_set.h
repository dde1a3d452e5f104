#pragma once

#include "module_catalogue.h"

// The front plug-in's module set: copies of the registry's records of this build's
// API version, in catalogue order, taken on the first call. Later calls return the
// same set; without briskspi.dll or its GetAllModules it stays empty for good.
ModuleCatalogue& modules();
