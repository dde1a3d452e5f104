#pragma once

#include <string>

#include "module_catalogue.h"

// Where this process's catalogue is: the registry library's folder followed by the
// name from the host's command line.
std::string CataloguePath();

// Appends the records of the catalogue file at `path` to `catalogue`. A file that
// cannot be opened adds nothing.
void ReadCatalogueFile(const std::string& path, ModuleCatalogue& catalogue);
