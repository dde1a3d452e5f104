// Shows the About dialog for a screenshot: loads briskspi.dll from its own folder,
// lists a few made-up plug-ins, selects one, writes the dialog's screen rectangle
// ("x y width height") to READY_FILE, and closes the dialog once DONE_FILE exists
// (or after a minute).
//   about_screenshot_host.exe READY_FILE DONE_FILE
#include <windows.h>

#include <cstdio>
#include <thread>

#include "module_catalogue.h"
#include "module_path.h"
#include "plugin_binding.h"
#include "set_names.h"

namespace {

const char* const kNames[] = {
    "PNG image reader", "JPEG image reader", "TIFF image reader", "GIF image reader",
    "BMP and ICO reader", "Targa image reader", "WebP image reader",
};

BOOL CALLBACK TakeVisibleWindow(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The first visible window of `thread`: the dialog.
HWND VisibleWindow(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(thread, TakeVisibleWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void DriveDialog(DWORD dialogThread, const char* readyFile, const char* doneFile)
{
    HWND dialog = nullptr;
    for (int i = 0; i < 1000 && !dialog; ++i) {
        Sleep(10);
        dialog = VisibleWindow(dialogThread);
    }
    if (!dialog)
        return;
    HWND list = GetDlgItem(dialog, 1000);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1000, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Sleep(500);  // let it paint
    RECT rect;
    GetWindowRect(dialog, &rect);
    if (FILE* ready = std::fopen(readyFile, "w")) {
        std::fprintf(ready, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        std::fclose(ready);
    }
    for (int i = 0; i < 600 && GetFileAttributesA(doneFile) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: about_screenshot_host READY_FILE DONE_FILE\n");
        return 2;
    }
    HMODULE registry = LoadLibraryA((FolderOf(ModuleFileName(nullptr)) + BRISK_REGISTRY_LIBRARY).c_str());
    using ShowAboutFunction = int __cdecl(HWND, const ModuleCatalogue*);
    auto* showAbout = FindExport<ShowAboutFunction>(registry, "ShowAbout");
    if (!showAbout) {
        std::fprintf(stderr, BRISK_REGISTRY_LIBRARY " or its ShowAbout is missing\n");
        return 1;
    }
    ModuleCatalogue moduleSet;
    for (const char* name : kNames) {
        PluginModule module;
        module.path = std::string(name) + ".spi";
        module.version = "00IN";
        module.name = name;
        module.hasConfig = true;
        moduleSet.modules.push_back(module);
    }
    std::thread driver(DriveDialog, GetCurrentThreadId(), argv[1], argv[2]);
    int result = showAbout(nullptr, &moduleSet);
    driver.join();
    return result == 1 ? 0 : 1;
}
