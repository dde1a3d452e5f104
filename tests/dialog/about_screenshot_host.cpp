// Shows the About dialog for a screenshot: loads briskspi.dll from its own folder,
// lists a few made-up plug-ins, selects one, writes the dialog's screen rectangle
// ("x y width height") to READY_FILE, followed by a line "cut: TEXT" for each text
// label that its control cannot show whole in the dialog's font, and closes the
// dialog once DONE_FILE exists (or after a minute).
//   about_screenshot_host.exe READY_FILE DONE_FILE
#include <windows.h>

#include <cstdio>
#include <string>
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

BOOL CALLBACK NoteCutLabel(HWND control, LPARAM notes)
{
    char className[16] = {};
    GetClassNameA(control, className, sizeof className);
    const LONG align = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    wchar_t text[256] = {};
    if (lstrcmpiA(className, "Static") != 0 || align > SS_RIGHT || GetWindowTextW(control, text, 256) == 0)
        return TRUE;
    // Measured as the static control lays out its text.
    RECT client;
    GetClientRect(control, &client);
    RECT needed = client;
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (needed.right > client.right || needed.bottom > client.bottom) {
        char line[512];
        WideCharToMultiByte(CP_UTF8, 0, text, -1, line, sizeof line, nullptr, nullptr);
        *reinterpret_cast<std::string*>(notes) += std::string("cut: ") + line + "\n";
    }
    return TRUE;
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
    std::string cutLabels;
    EnumChildWindows(dialog, NoteCutLabel, reinterpret_cast<LPARAM>(&cutLabels));
    if (FILE* ready = std::fopen(readyFile, "w")) {
        std::fprintf(ready, "%ld %ld %ld %ld\n%s", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     cutLabels.c_str());
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
