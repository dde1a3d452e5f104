#include "registry_module.h"

namespace {
HMODULE ownModule = nullptr;
}

HMODULE RegistryModule()
{
    return ownModule;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ownModule = instance;
    return TRUE;
}
