#pragma once

// The catalogue types: filters, modules, the module catalogue, and the catalogue
// file's reader and writer. Free of platform headers.
#include "catalogue_reader.h"
#include "catalogue_writer.h"
#include "file_filter.h"
#include "module_catalogue.h"
#include "plugin_module.h"
