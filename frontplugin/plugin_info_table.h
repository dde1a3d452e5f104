#pragma once

#include <string>
#include <vector>

#include "module_catalogue.h"

using PluginInfoTable = std::vector<std::string>;

// The answers of GetPluginInfo: the version, the name line, then per filter of every
// record of `version` its patterns (without "*", "*.*" and "*.", joined with ";")
// and its description. A filter left without patterns still gives both entries.
PluginInfoTable BuildPluginInfoTable(const ModuleCatalogue& moduleSet, const std::string& version,
                                     const std::string& nameLine);

// The table of this build, built on the first call.
const PluginInfoTable& pluginInfoTable();
