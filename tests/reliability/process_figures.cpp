#include "process_figures.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

// Wine reports no PrivateUsage and no handle count; there PagefileUsage (the same
// commit charge on Windows) stands in, and open handles are counted one by one.
ProcessFigures MeasureProcess()
{
    ProcessFigures figures;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters))
        figures.privateBytes = static_cast<long long>(counters.PrivateUsage ? counters.PrivateUsage
                                                                            : counters.PagefileUsage);
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles != 0) {
        figures.handles = static_cast<long>(handles);
    } else {
        for (ULONG_PTR value = 4; value < 0x40000; value += 4) {
            DWORD flags;
            if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
                ++figures.handles;
        }
    }
    DWORD index = TlsAlloc();
    figures.tlsIndex = static_cast<long>(index);
    if (index != TLS_OUT_OF_INDEXES)
        TlsFree(index);
    return figures;
}

std::string GrowthPastBounds(const ProcessFigures& from, const ProcessFigures& to, int cycles,
                             const GrowthBounds& bounds)
{
    long long memory = to.privateBytes - from.privateBytes;
    long handles = to.handles - from.handles;
    long tls = to.tlsIndex - from.tlsIndex;
    if (memory < bounds.bytesPerCycle * cycles && handles <= bounds.handles && tls <= bounds.tlsIndexes)
        return "";
    char text[256];
    std::snprintf(text, sizeof text, "over %d cycles: %+lld bytes, %+ld handles, %+ld TLS indexes", cycles, memory,
                  handles, tls);
    return text;
}
