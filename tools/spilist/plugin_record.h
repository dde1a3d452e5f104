#pragma once

#include <string>

#include "plugin_module.h"

// Stores the answer to information number `number` in `record`: 0 is the API version,
// 1 the name, then 2k+2 opens filter k with its pattern text and 2k+3 describes it.
// Line feeds become spaces so that no value spans two catalogue lines.
void StoreInformation(PluginModule& record, int number, std::string text);
