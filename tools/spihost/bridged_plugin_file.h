#pragma once

// spihost's way to a plug-in of the other width: the bridge's helper beside it loads
// the plug-in; the callers say so.
#include <string>

#include "plugin_binding.h"

// Binds the plug-in at `path` through the helper when it is a library of the other
// width;
// false when it is not one or the helper cannot serve it.
bool BindThroughBridge(const std::string& path, PluginEntryPoints& entryPoints);
