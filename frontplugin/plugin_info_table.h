#pragma once

#include <string_view>

#include "catalogue_arena.h"
#include "module_catalogue.h"

using PluginInfoTable = CatalogueVector<CatalogueText>;

// The answers of GetPluginInfo: the version, the name line, then per filter of every
// record of `version` its patterns (without "*", "*.*" and "*.", joined with ";")
// and its description. A filter left without patterns still gives both entries.
// Its texts live where `allocator` puts them.
PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, std::string_view version,
                                     std::string_view nameLine, const CatalogueAllocator<char>& allocator = {});

// The table of this build, built on the first call.
const PluginInfoTable& pluginInfoTable();
