#pragma once

#include <string>
#include <vector>

#include "plugin_module.h"

// What differs between a catalogue record and the record spilist would write for the
// plug-in now (both as the catalogue reader reads them), one text per difference:
// version, name, flag, the number of filters, each filter's patterns and description.
std::vector<std::string> RecordDifferences(const PluginModule& catalogued, const PluginModule& now);

// `now` as the catalogue would hold it: written as a record and read back, so that a
// fresh catalogue shows no difference.
PluginModule AsCatalogued(const PluginModule& now);
