#pragma once

#include <string>
#include <vector>

#include "file_filter.h"
#include "shared_ref.h"

// Defined with the binding; a module only refers to it, so the catalogue types
// build without the platform headers.
struct PluginEntryPoints;

// One catalogue entry. Copying copies the texts and filters and shares the load
// state: a copy made after binding keeps the same loaded plug-in alive, a copy made
// before binding loads its own on first need.
struct PluginModule {
    std::string path;
    std::string version;
    std::string name;
    std::vector<FileFilter> filters;
    bool hasConfig = false;
    SharedRef<PluginEntryPoints> binding;
};
