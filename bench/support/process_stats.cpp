#include "process_stats.h"

#include <windows.h>
// The K32 names live in kernel32, so no extra library is loaded for these calls.
#ifndef PSAPI_VERSION
#define PSAPI_VERSION 2
#endif
#include <psapi.h>

namespace {

std::vector<HMODULE> Modules()
{
    std::vector<HMODULE> modules(256);
    for (;;) {
        DWORD needed = 0;
        if (!EnumProcessModules(GetCurrentProcess(), modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                &needed))
            return {};
        std::size_t count = needed / sizeof(HMODULE);
        if (count <= modules.size()) {
            modules.resize(count);
            return modules;
        }
        modules.resize(count + 64);
    }
}

typedef long(WINAPI NoopCallCountFunction)();

}  // namespace

std::size_t LoadedModuleCount()
{
    return Modules().size();
}

std::vector<std::string> LoadedModulePaths()
{
    std::vector<std::string> paths;
    for (HMODULE module : Modules()) {
        char path[MAX_PATH] = {};
        DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
        paths.emplace_back(path, length);
    }
    return paths;
}

std::size_t PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return 0;
    // Windows documents PagefileUsage as the same commit charge; Wine fills only the
    // older structure's fields, so PrivateUsage reads 0 there.
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

long NoopCallsInProcess()
{
    long calls = 0;
    for (HMODULE module : Modules()) {
        auto* callCount = reinterpret_cast<NoopCallCountFunction*>(
            reinterpret_cast<void (*)()>(GetProcAddress(module, "NoopCallCount")));
        if (callCount)
            calls += callCount();
    }
    return calls;
}
