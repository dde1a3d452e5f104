#pragma once

#include <windows.h>

// IsSupported of the front plug-in: asks every record with a pattern that matches
// `filename` (loading it now if needed) and keeps those that accept the file as the
// candidates. Returns 1 when there is a candidate, else 0 and remembers the name, so
// that probing it again costs one comparison.
int ProbeSupport(LPCSTR filename, ULONG_PTR dw);
