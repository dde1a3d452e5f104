// The registry library's exports. Nothing thrown leaves them.
#include <windows.h>

#include "about_dialog.h"
#include "module_catalogue.h"
#include "process_catalogue.h"

#include "bridged_binding.h"

extern "C" ModuleCatalogue* GetAllModules()
{
    return &ProcessCatalogue();
}

// The front plug-ins take their records through these, not through GetAllModules's
// list, which the other front plug-in may be changing at the same moment. The caller
// owns the catalogue it is given and gives its records back before deleting it.
extern "C" ModuleCatalogue* TakeModules(const char* version)
{
    if (!version)
        return nullptr;
    try {
        return TakeProcessModules(version);
    } catch (...) {
        return nullptr;
    }
}

extern "C" void ReturnModules(ModuleCatalogue* taken)
{
    if (taken)
        ReturnProcessModules(*taken);
}

// Caller-cleans, unlike the plug-in interface. -1 when the dialog cannot be shown,
// including when the module set cannot be copied.
extern "C" int __cdecl ShowAbout(HWND parent, const ModuleCatalogue* moduleSet)
{
    if (!moduleSet)
        return -1;
    // The dialog's copies bind their plug-ins of the other width through this
    // library's bridge.
    SetBridgeBinder(BindBridged);
    try {
        return ShowAboutDialog(parent, *moduleSet);
    } catch (...) {
        return -1;
    }
}
