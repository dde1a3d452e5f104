#pragma once

#include <string>

#include "plugin_module.h"

// Appends the catalogue record of `module` to `out`: path, version, name, "true" or
// "false", a pattern line and a description line per filter, then "-----"; every
// line ends with CR LF. A line feed inside a text becomes a space, so no value spans
// two lines. A pattern line that would read as "-----" is written as "-----;".
void WriteRecord(std::string& out, const PluginModule& module);
