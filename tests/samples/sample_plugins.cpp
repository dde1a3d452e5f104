#include "sample_plugins.h"

#include <atomic>
#include <stdexcept>
#include <thread>

#include "test_files.h"

PluginEntryPoints LoadSample(const std::string& fileName)
{
    SharedRef<PluginEntryPoints> loaded = LoadPlugin(BinFolder() + fileName);
    if (!loaded->GetPluginInfo)
        throw std::runtime_error("cannot load " + fileName);
    return *loaded;
}

std::string TakeBlock(HLOCAL handle)
{
    if (!handle)
        return std::string();
    const char* data = static_cast<const char*>(LocalLock(handle));
    std::string bytes(data, data ? LocalSize(handle) : 0);
    LocalUnlock(handle);
    LocalFree(handle);
    return bytes;
}

namespace {

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

std::string ShowAndCloseAbout(ConfigurationDlgFunction* configurationDlg, int& result)
{
    std::string text;
    std::atomic<bool> done{false};
    std::thread closer([&] {
        for (int attempt = 0; attempt < 200 && !done; ++attempt) {
            HWND box = nullptr;
            EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&box));
            if (box) {
                char buffer[1024] = {};
                GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);  // the message box's text
                text = buffer;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(25);
        }
    });
    result = configurationDlg(nullptr, 0);
    done = true;
    closer.join();
    return text;
}
