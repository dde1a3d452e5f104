#pragma once

// Callable entry points for one bridged plug-in: a small block of machine code per
// entry point that passes the call, with its plug-in and entry number, to
// BridgeDispatch. Entry points are plain function pointers that hosts call
// directly, so each must carry its plug-in in its own address. One source per
// processor: entry_thunks_x64.cpp, entry_thunks_x86.cpp.
#include <cstdint>

#include <windows.h>

// Receives every call of a thunk: `arguments` are the call's first seven argument
// slots, each pointer-wide (those past the call's own count hold whatever the
// caller's stack holds).
extern "C" int __cdecl BridgeDispatch(void* context, std::uint32_t entry, const ULONG_PTR* arguments);

class EntryThunks {
public:
    EntryThunks(void* context, std::uint32_t entryCount);
    ~EntryThunks();
    EntryThunks(const EntryThunks&) = delete;
    EntryThunks& operator=(const EntryThunks&) = delete;

    bool Ok() const { return block_ != nullptr; }
    // The entry point's code; null when the block could not be made.
    void* Address(std::uint32_t entry) const;

private:
    unsigned char* block_ = nullptr;
    void* functionTable_ = nullptr;
};
