// A host that loads a front plug-in, probes one file name and ends, either by
// returning from main (process exit) or after unloading the front plug-in first.
// Every FreeLibrary call the front plug-in makes is printed as "FreeLibrary <path>":
// its import of FreeLibrary is redirected to a logging stand-in.
//   front_exit_host FRONT_PATH FILE_NAME exit|unload
#include <windows.h>

#include <cstring>
#include <string>

#include "plugin_binding.h"
#include "plugin_interface.h"

namespace {

using FreeLibraryFunction = BOOL WINAPI(HMODULE);
FreeLibraryFunction* realFreeLibrary = nullptr;

// WriteFile, not stdio: at process exit the C runtime's streams are already closed.
void Print(const std::string& line)
{
    std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

BOOL WINAPI LoggingFreeLibrary(HMODULE module)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, MAX_PATH);
    Print(std::string("FreeLibrary ") + path);
    return realFreeLibrary(module);
}

// Points the module's import slot for kernel32's FreeLibrary at LoggingFreeLibrary.
bool RedirectFreeLibrary(HMODULE module)
{
    BYTE* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    for (; library->Name; ++library) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + library->Name), "kernel32.dll") != 0)
            continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), "FreeLibrary") != 0)
                continue;
            DWORD oldProtection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &oldProtection);
            realFreeLibrary = reinterpret_cast<FreeLibraryFunction*>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&LoggingFreeLibrary);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, oldProtection, &oldProtection);
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    HMODULE front = LoadLibraryA(argv[1]);
    if (!front || !RedirectFreeLibrary(front))
        return 3;
    auto* isSupported = FindExport<IsSupportedFunction>(front, "IsSupported");
    if (!isSupported)
        return 4;
    Print("IsSupported " + std::to_string(isSupported(argv[2], 0)));
    if (std::strcmp(argv[3], "unload") == 0) {
        FreeLibrary(front);
        Print("unloaded");
    }
    return 0;
}
