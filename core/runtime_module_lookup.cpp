// On i686 the runtime's start-up code of every DLL (GCC's frame registration, in
// crtbegin) asks GetModuleHandleA for a shared "libgcc_s_dw2-1.dll", at load and again
// at unload, to register the DLL's unwind tables with that copy when a process has
// one. Both answers are wrong for this system's libraries:
// - the runtime is linked in, so a throw here unwinds with the linked-in copy, which
//   knows only frames registered with it: in a host that has the shared libgcc loaded
//   (MinGW-built hosts do), the tables would go to the host's copy and every throw
//   inside the library would end the process;
// - under Wine, looking up a library that is not loaded searches the whole library
//   path on disk, which costs about as much as the rest of loading the library.
// So the name is answered here as "not loaded", and every other name as the system
// answers it. The runtime's start-up objects call through the import pointer; this
// definition of the pointer is linked ahead of kernel32's.
#if defined(__i386__)
#include <windows.h>

namespace {

bool IsSharedRuntimeName(LPCSTR name)
{
    return name && lstrcmpiA(name, "libgcc_s_dw2-1.dll") == 0;
}

HMODULE WINAPI ModuleHandleA(LPCSTR name)
{
    if (IsSharedRuntimeName(name))
        return nullptr;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, name, &module))
        return nullptr;
    return module;
}

}  // namespace

extern "C" {
extern void* const runtimeModuleHandleA __asm__("__imp__GetModuleHandleA@4");
void* const runtimeModuleHandleA = reinterpret_cast<void*>(&ModuleHandleA);
}
#endif
