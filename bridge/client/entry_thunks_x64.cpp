#include "entry_thunks.h"

#include <cstring>

#include <windows.h>

namespace {

constexpr std::size_t kThunkSize = 64;
constexpr std::size_t kBlockSize = 4096;

// sub rsp,28h; the four register arguments into their home slots, so all seven lie
// side by side above the return address; BridgeDispatch(context, entry, slots).
const unsigned char kCode[] = {
    0x48, 0x83, 0xEC, 0x28,              // sub rsp, 28h
    0x48, 0x89, 0x4C, 0x24, 0x30,        // mov [rsp+30h], rcx
    0x48, 0x89, 0x54, 0x24, 0x38,        // mov [rsp+38h], rdx
    0x4C, 0x89, 0x44, 0x24, 0x40,        // mov [rsp+40h], r8
    0x4C, 0x89, 0x4C, 0x24, 0x48,        // mov [rsp+48h], r9
    0x4C, 0x8D, 0x44, 0x24, 0x30,        // lea r8, [rsp+30h]
    0x48, 0xB9, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rcx, context
    0xBA, 0, 0, 0, 0,                    // mov edx, entry
    0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0,  // mov rax, BridgeDispatch
    0xFF, 0xD0,                          // call rax
    0x48, 0x83, 0xC4, 0x28,              // add rsp, 28h
    0xC3,                                // ret
};
constexpr std::size_t kContextAt = 31;
constexpr std::size_t kEntryAt = 40;
constexpr std::size_t kDispatchAt = 46;
static_assert(sizeof kCode <= kThunkSize, "one thunk");

// Unwind data shared by all thunks: a 4-byte prologue that allocates 28h bytes, so
// stack walks (exceptions, debuggers) pass through them.
const unsigned char kUnwindInfo[] = {0x01, 0x04, 0x01, 0x00, 0x04, 0x42, 0x00, 0x00};

}  // namespace

EntryThunks::EntryThunks(void* context, std::uint32_t entryCount)
{
    const std::size_t unwindAt = entryCount * kThunkSize;
    const std::size_t tableAt = unwindAt + sizeof kUnwindInfo;
    if (tableAt + entryCount * sizeof(RUNTIME_FUNCTION) > kBlockSize)
        return;
    auto* block = static_cast<unsigned char*>(VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block)
        return;
    const auto dispatch = reinterpret_cast<std::uint64_t>(&BridgeDispatch);
    auto* table = reinterpret_cast<RUNTIME_FUNCTION*>(block + tableAt);
    for (std::uint32_t entry = 0; entry < entryCount; ++entry) {
        unsigned char* thunk = block + entry * kThunkSize;
        std::memcpy(thunk, kCode, sizeof kCode);
        std::memcpy(thunk + kContextAt, &context, 8);
        std::memcpy(thunk + kEntryAt, &entry, 4);
        std::memcpy(thunk + kDispatchAt, &dispatch, 8);
        table[entry].BeginAddress = static_cast<DWORD>(entry * kThunkSize);
        table[entry].EndAddress = static_cast<DWORD>(entry * kThunkSize + sizeof kCode);
        table[entry].UnwindData = static_cast<DWORD>(unwindAt);
    }
    std::memcpy(block + unwindAt, kUnwindInfo, sizeof kUnwindInfo);
    DWORD previous;
    if (!VirtualProtect(block, kBlockSize, PAGE_EXECUTE_READ, &previous)) {
        VirtualFree(block, 0, MEM_RELEASE);
        return;
    }
    FlushInstructionCache(GetCurrentProcess(), block, kBlockSize);
    if (RtlAddFunctionTable(table, entryCount, reinterpret_cast<DWORD64>(block)))
        functionTable_ = table;
    block_ = block;
}

EntryThunks::~EntryThunks()
{
    if (functionTable_)
        RtlDeleteFunctionTable(static_cast<RUNTIME_FUNCTION*>(functionTable_));
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
}

void* EntryThunks::Address(std::uint32_t entry) const
{
    return block_ ? block_ + entry * kThunkSize : nullptr;
}
