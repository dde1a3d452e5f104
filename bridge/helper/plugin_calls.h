#pragma once

// Runs one call of the host's on a loaded plug-in: reads the arguments from the
// message, calls the entry point and writes the results the host needs.
#include "bridge_message.h"
#include "bridge_protocol.h"
#include "helper_channel.h"
#include "plugin_binding.h"

// Null when the plug-in lacks the entry point: the result is then the entry point's
// failure value.
void RunPluginCall(const PluginEntryPoints& plugin, bridge::Entry entry, bridge::MessageReader& arguments,
                   HelperChannel& channel, bridge::MessageWriter& results);

// Frees the plug-in's blocks of the answer just sent (or dropped).
void ReleaseSentBlocks();
