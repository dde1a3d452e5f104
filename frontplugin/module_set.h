#pragma once

#include "module_catalogue.h"

// The front plug-in's module set: the registry's records of this build's API version,
// in catalogue order, moved out of its catalogue on the first call and given back when
// this library is unloaded. Later calls return the same set; without briskspi.dll or
// its GetAllModules it stays empty for good.
ModuleCatalogue& modules();
