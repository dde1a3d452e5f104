#pragma once

#include <windows.h>

// The registry library's own module handle, recorded at process attach; null
// before that.
HMODULE RegistryModule();
