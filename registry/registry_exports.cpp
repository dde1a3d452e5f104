// The registry library's exports. Nothing thrown leaves them.
#include <windows.h>

#include "about_dialog.h"
#include "catalogue_file.h"
#include "module_catalogue.h"

#if defined(_WIN64)
#include "bridged_binding.h"
#endif

extern "C" ModuleCatalogue* GetAllModules()
{
    // Built on the first call; destroyed when the library is unloaded, and its arena
    // after it.
    static CatalogueArena arena;
    static ModuleCatalogue catalogue(arena);
    static bool built = false;
    if (!built) {
        built = true;
        try {
            ReadCatalogueFile(CataloguePath(), catalogue);
        } catch (...) {
            // Out of memory while reading: the callers get what was read so far.
        }
    }
    return &catalogue;
}

// Caller-cleans, unlike the plug-in interface. -1 when the dialog cannot be shown,
// including when the module set cannot be copied.
extern "C" int __cdecl ShowAbout(HWND parent, const ModuleCatalogue* moduleSet)
{
    if (!moduleSet)
        return -1;
#if defined(_WIN64)
    // The dialog's copies bind their 32-bit plug-ins through this library's bridge.
    SetBridgeBinder(BindBridged);
#endif
    try {
        return ShowAboutDialog(parent, *moduleSet);
    } catch (...) {
        return -1;
    }
}
