#pragma once

// Archive entry records between the 32-bit layouts the helper's plug-ins use and
// this width's.
#include <cstddef>

#include <windows.h>

#include "bridge_protocol.h"
#include "plugin_interface.h"

bridge::FileInfo32 NarrowFileInfo(const SpiFileInfo& record);
bridge::FileInfoW32 NarrowFileInfo(const SpiFileInfoW& record);
// From a 32-bit record's bytes; a short one leaves the record alone.
void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfo& record);
void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfoW& record);

// A new LocalAlloc block with the 32-bit entry table `narrow` in this width's layout,
// up to and with its end record (added when the plug-in's table lacks one within its
// block), or null when memory runs out. The character type picks the record kind.
HLOCAL WidenFileInfoTable(HLOCAL narrow, char);
HLOCAL WidenFileInfoTable(HLOCAL narrow, wchar_t);
