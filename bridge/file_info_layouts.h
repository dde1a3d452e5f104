#pragma once

// Archive entry records between this width's layouts and the 32-bit ones that cross
// the bridge. On x86 they are the same layouts, and nothing can fail to fit.
#include <cstddef>
#include <vector>

#include <windows.h>

#include "bridge_protocol.h"
#include "plugin_interface.h"

// False when a position, size or time stamp does not fit its 32-bit field: `*narrow`
// then holds cut values and must not be handed on as the record.
bool NarrowFileInfo(const SpiFileInfo& record, bridge::FileInfo32* narrow);
bool NarrowFileInfo(const SpiFileInfoW& record, bridge::FileInfoW32* narrow);
// From a 32-bit record's bytes; a short one leaves the record alone.
void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfo& record);
void WidenFileInfo(const unsigned char* bytes, std::size_t size, SpiFileInfoW& record);

// A new LocalAlloc block with the 32-bit entry table `narrow` in this width's layout,
// up to and with its end record (added when the plug-in's table lacks one within its
// block), or null when memory runs out. The character type picks the record kind.
HLOCAL WidenFileInfoTable(HLOCAL narrow, char);
HLOCAL WidenFileInfoTable(HLOCAL narrow, wchar_t);

// A plug-in's entry table of this width in the 32-bit layout, up to and with its end
// record. An entry whose values do not fit the 32-bit record is left out rather than
// cut: a 32-bit host could neither address it nor hold its sizes.
std::vector<unsigned char> NarrowFileInfoTable(HLOCAL table, char);
std::vector<unsigned char> NarrowFileInfoTable(HLOCAL table, wchar_t);
