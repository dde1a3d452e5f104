#pragma once

#include "module_catalogue.h"
#include "record_bindings.h"

// The front plug-in's module set: the registry's records of this build's API version,
// in catalogue order, moved out of its catalogue on the first call and given back when
// this library is unloaded. Later calls return the same set; without briskspi.dll or
// its exports it stays empty for good. The first call of any thread builds it; others
// wait for it.
ModuleCatalogue& modules();

// The load state of the module set's records, in module-set order.
RecordBindings& ModuleBindings();
