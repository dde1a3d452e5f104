#pragma once

#include <windows.h>

// IsSupported of the front plug-in. A name other than the last rejected one is probed:
// every record with a pattern that matches `filename` is asked (loaded now if needed),
// those that accept become the candidates, and the name is kept as the last probed
// one. Returns 1 when there is a candidate, else 0 and remembers the name as rejected,
// so that probing it again costs one comparison.
int ProbeSupport(LPCSTR filename, ULONG_PTR dw);

// IsSupportedW of the front plug-in: the same probe on the wide name, with its own last
// rejected name, making the one candidate list. A plug-in without IsSupportedW is asked
// through IsSupported with the name AnsiNameOfFile gives, and is no candidate when
// there is none.
int ProbeSupportW(LPCWSTR filename, ULONG_PTR dw);
