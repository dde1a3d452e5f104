#pragma once

// Binding a 32-bit plug-in through the helper: a record whose entry points are
// thunks into the bridge, present exactly where the plug-in exports them.
#include "plugin_binding.h"

// Fills `*binding` and returns kBridgeBound; kBridgeNotBound when the helper cannot
// start or cannot load the plug-in; kBridgeTryLater when the helper failed or gave no
// turn. Nothing thrown leaves it.
int BindBridged(const char* path, SharedRef<PluginEntryPoints>* binding);

// Whether the record's entry points go to the helper (records bound by this copy of
// the bridge only).
bool IsBridged(const PluginEntryPoints& entryPoints);

// At process exit the helper is left to its job: no more messages to it.
void StopBridge();
