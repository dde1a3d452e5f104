#include "registry_module.h"

#include "bridge_client.h"

namespace {
HMODULE ownModule = nullptr;
}

HMODULE RegistryModule()
{
    return ownModule;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, [[maybe_unused]] LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH)
        ownModule = instance;
    // Process exit: the helper's job ends it with the process.
    if (reason == DLL_PROCESS_DETACH && reserved)
        StopBridgeClient();
    return TRUE;
}
