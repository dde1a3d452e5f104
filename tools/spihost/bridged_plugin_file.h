#pragma once

// spihost64's way to a 32-bit plug-in: the bridge's helper beside it loads the
// plug-in; the callers say so.
#include <string>

#include "plugin_binding.h"

// Binds the plug-in at `path` through the helper when it is a 32-bit library;
// false when it is not one or the helper cannot serve it.
bool BindThroughBridge(const std::string& path, PluginEntryPoints& entryPoints);
