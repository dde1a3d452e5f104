#pragma once

#include <string_view>

#include "catalogue_arena.h"
#include "module_catalogue.h"

// Zero-terminated texts where they lie: in the module set's records or in its arena.
// A catalogue's texts hold no zero bytes, so their lengths need no room of their own.
using PluginInfoTable = CatalogueVector<const char*>;

// The answers of GetPluginInfo: the version, the name line, then per filter of every
// record of `version` its patterns (without "*", "*.*" and "*.", joined with ";")
// and its description. A filter left without patterns still gives both entries.
// The table refers to the records' texts and keeps the others in `arena`; both must
// outlive it.
PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, std::string_view version,
                                     std::string_view nameLine, CatalogueArena& arena);

// The table of this build, built on the first call.
const PluginInfoTable& pluginInfoTable();
