#include "entry_thunks.h"

#include <cstring>

#include "bridge_protocol.h"

namespace {

constexpr std::size_t kThunkSize = 32;
constexpr std::size_t kBlockSize = 4096;

// The entry points are standard-call: the thunk hands BridgeDispatch the address of
// the arguments on the stack and removes them on return, as many bytes as the entry
// point takes.
const unsigned char kCode[] = {
    0x8D, 0x44, 0x24, 0x04,  // lea eax, [esp+4]
    0x50,                    // push eax
    0x68, 0, 0, 0, 0,        // push entry
    0x68, 0, 0, 0, 0,        // push context
    0xB8, 0, 0, 0, 0,        // mov eax, BridgeDispatch
    0xFF, 0xD0,              // call eax
    0x83, 0xC4, 0x0C,        // add esp, 0Ch
    0xC2, 0, 0,              // ret arguments
};
constexpr std::size_t kEntryAt = 6;
constexpr std::size_t kContextAt = 11;
constexpr std::size_t kDispatchAt = 16;
constexpr std::size_t kArgumentBytesAt = 26;
static_assert(sizeof kCode <= kThunkSize, "one thunk");

std::uint16_t ArgumentBytes(std::uint32_t entry)
{
    using namespace bridge;
    switch (entry % kGetPluginInfoW) {
    case kGetPluginInfo:
        return 12;
    case kIsSupported:
        return 8;
    case kGetPictureInfo:
    case kGetArchiveInfo:
        return 16;
    case kGetPicture:
    case kGetPreview:
        return 28;
    case kGetFileInfo:
        return 20;
    case kGetFile:
        return 24;
    default:
        return 8;  // ConfigurationDlg
    }
}

}  // namespace

EntryThunks::EntryThunks(void* context, std::uint32_t entryCount)
{
    if (entryCount * kThunkSize > kBlockSize)
        return;
    auto* block = static_cast<unsigned char*>(VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!block)
        return;
    const auto dispatch = reinterpret_cast<std::uint32_t>(&BridgeDispatch);
    const auto contextValue = reinterpret_cast<std::uint32_t>(context);
    for (std::uint32_t entry = 0; entry < entryCount; ++entry) {
        unsigned char* thunk = block + entry * kThunkSize;
        const std::uint16_t argumentBytes = ArgumentBytes(entry);
        std::memcpy(thunk, kCode, sizeof kCode);
        std::memcpy(thunk + kEntryAt, &entry, 4);
        std::memcpy(thunk + kContextAt, &contextValue, 4);
        std::memcpy(thunk + kDispatchAt, &dispatch, 4);
        std::memcpy(thunk + kArgumentBytesAt, &argumentBytes, 2);
    }
    DWORD previous;
    if (!VirtualProtect(block, kBlockSize, PAGE_EXECUTE_READ, &previous)) {
        VirtualFree(block, 0, MEM_RELEASE);
        return;
    }
    FlushInstructionCache(GetCurrentProcess(), block, kBlockSize);
    block_ = block;
}

EntryThunks::~EntryThunks()
{
    if (block_)
        VirtualFree(block_, 0, MEM_RELEASE);
}

void* EntryThunks::Address(std::uint32_t entry) const
{
    return block_ ? block_ + entry * kThunkSize : nullptr;
}
