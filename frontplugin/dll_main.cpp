#include <windows.h>

#include "front_state.h"
#include "plugin_binding.h"
#include "thread_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        SetOwnModule(instance);
    } else if (reason == DLL_THREAD_DETACH) {
        // A host that starts a thread per picture leaves nothing behind.
        EndThreadState();
    } else if (reason == DLL_PROCESS_DETACH && reserved) {
        // Process exit: the plug-ins and briskspi.dll may already be detached, so the
        // teardown that follows must not free them. An unload by FreeLibrary (null
        // `reserved`) still frees them.
        StopFreeingLibraries();
        MarkProcessEnding();
    }
    return TRUE;
}
