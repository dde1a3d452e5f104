#include "gui_host_libraries.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

void TieToGuiHostLibraries()
{
    // Taking the addresses is enough for the imports; volatile keeps them.
    static void (*volatile const kImports[])() = {
        reinterpret_cast<void (*)()>(&wsprintfA),         reinterpret_cast<void (*)()>(&GetStockObject),
        reinterpret_cast<void (*)()>(&PathFindFileNameA), reinterpret_cast<void (*)()>(&DragFinish),
        reinterpret_cast<void (*)()>(&InitCommonControls), reinterpret_cast<void (*)()>(&CoTaskMemFree),
    };
    (void)kImports[0];
}
