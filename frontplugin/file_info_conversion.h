#pragma once

// Archive entry records of ANSI-only plug-ins as the W entry points hand them to the
// host: the same fields, the names in UTF-16.
#include <windows.h>

#include "plugin_interface.h"

void ConvertFileInfo(const SpiFileInfo& ansi, SpiFileInfoW& wide);

// A new LocalAlloc block with the entry table `ansiTable` (records up to the one whose
// method[0] is 0) as wide records, or null when memory runs out. Records past the
// block's end are never read: a table without its end record ends there.
HLOCAL ConvertFileInfoTable(HLOCAL ansiTable);
