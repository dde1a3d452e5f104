#include "registry_module.h"

#if defined(_WIN64)
#include "bridge_client.h"
#endif

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
#if defined(_WIN64)
    // Process exit: the helper's job ends it with the process.
    if (reason == DLL_PROCESS_DETACH && reserved)
        StopBridgeClient();
#endif
    return TRUE;
}
