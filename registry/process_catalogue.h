#pragma once

#include "module_catalogue.h"

// The process's catalogue, read from the catalogue file by the first caller of any
// thread; callers meanwhile wait for it. Destroyed when the library is unloaded.
ModuleCatalogue& ProcessCatalogue();

// Moves the records of `version` out of the process's catalogue into a new catalogue
// of the same allocator, and back; both front plug-ins may do so at the same moment.
// Null when memory runs out.
ModuleCatalogue* TakeProcessModules(const char* version);
void ReturnProcessModules(ModuleCatalogue& taken);
