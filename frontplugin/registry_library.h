#pragma once

#include <windows.h>

// briskspi.dll from the front plug-in's own folder, loaded on the first call and
// kept until library end. Null when it could not be loaded; never retried.
HMODULE RegistryLibrary();
