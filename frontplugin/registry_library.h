#pragma once

#include <windows.h>

// briskspi.dll from the front plug-in's own folder, loaded on the first call and
// kept until library end. Null when it could not be loaded; never retried.
HMODULE RegistryLibrary();

// How many calls this thread made through the helper's channel that failed in the
// channel (a helper that crashed, hung or could not be reached), so far. A probe that
// saw the count change knows some "no" was no answer. Always 0 without a bridge.
unsigned long BridgeChannelFailures();
