#pragma once

// One bridged entry point's call, from the host's arguments to the host's results:
// what goes to the helper and how the answer is written where the host expects it
// (handles as LocalAlloc blocks of this process, records in this width's layouts).
#include <cstdint>

#include <windows.h>

#include "bridged_plugin.h"

// `arguments` are the entry point's arguments as the call passed them, each in a
// 64-bit slot. The entry point's result, or its failure value.
int CallBridged(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments);
