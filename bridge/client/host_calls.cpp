#include "host_calls.h"

#include <cstdint>
#include <cstring>

#include "bridge_client.h"
#include "bridge_message.h"
#include "bridge_protocol.h"
#include "file_info_layouts.h"
#include "plugin_interface.h"

using namespace bridge;

namespace {

// GetPluginInfo's buffer crosses whole; a larger one than this is cut to it.
constexpr int kInfoBufferLimit = 1 << 20;

template <class T>
T Argument(const ULONG_PTR* arguments, int index)
{
    return (T)(arguments[index]);
}

// int and unsigned int arguments fill only the low half of their slot.
int IntArgument(const ULONG_PTR* arguments, int index)
{
    return static_cast<int>(static_cast<std::uint32_t>(arguments[index]));
}

std::size_t TextBytes(const char* text)
{
    return std::strlen(text) + 1;
}

std::size_t TextBytes(const wchar_t* text)
{
    return (std::wcslen(text) + 1) * sizeof(wchar_t);
}

template <class Char>
void WriteName(MessageWriter& request, const Char* name)
{
    request.U32(name ? 1 : 0);
    request.Bytes(name, name ? TextBytes(name) : 0);
}

// The input of the picture and archive calls, arguments 0 and 1 with the flag at
// `flagIndex`: a file name, or the memory image. An image too large for the helper
// cannot cross and fails the call.
template <class Char>
void WriteInput(MessageWriter& request, const ULONG_PTR* arguments, int flagIndex)
{
    const Char* buf = Argument<const Char*>(arguments, 0);
    const LONG_PTR len = Argument<LONG_PTR>(arguments, 1);
    const unsigned int flag = static_cast<unsigned int>(arguments[flagIndex]);
    request.U32(flag);
    // From a 32-bit host, positions of 2 to 4 GiB reach a 64-bit plug-in as such, not
    // as negative numbers.
    request.I64(static_cast<std::int64_t>(arguments[1]));
    const bool memory = (flag & kSpiInputMask) == kSpiInputMemory;
    if (!buf) {
        request.U32(0);
        request.Bytes(nullptr, 0);
        return;
    }
    if (memory && (len < 0 || len > 0x3FFFFFFF))
        throw EBrokenMessage();
    request.U32(1);
    // The host's image crosses once, straight from its own memory into the channel.
    if (memory)
        request.BytesInPlace(buf, static_cast<std::size_t>(len));
    else
        request.Bytes(buf, TextBytes(buf));
}

void WriteProgress(MessageWriter& request, SpiProgressCallback* progress, LONG_PTR data)
{
    request.U32(progress ? 1 : 0);
    request.I64(data);
}

BridgeClient::ProgressAnswer HostProgress(SpiProgressCallback* progress, LONG_PTR data)
{
    if (!progress)
        return nullptr;
    return [progress, data](int done, int total) { return progress(done, total, data); };
}

// A block of the plug-in's answer, copied once from the channel into a block of this
// process and handed to the host's slot only when the whole answer has been read: a
// broken answer leaves nothing in the host's slots.
class ArrivingBlock {
public:
    // `wanted`: the host gave a slot for it.
    ArrivingBlock(MessageReader& answer, bool wanted) : state_(answer.U32())
    {
        if (state_ != kBlock)
            return;
        const std::uint32_t fixed = answer.U32();
        std::size_t size;
        const unsigned char* bytes = answer.Bytes(&size);
        if (!wanted)
            return;
        block_ = LocalAlloc(fixed ? LMEM_FIXED : LMEM_MOVEABLE, size ? size : 1);
        if (!block_)
            return;
        std::memcpy(LocalLock(block_), bytes, size);
        LocalUnlock(block_);
    }
    ~ArrivingBlock()
    {
        if (block_)
            LocalFree(block_);
    }
    ArrivingBlock(const ArrivingBlock&) = delete;
    ArrivingBlock& operator=(const ArrivingBlock&) = delete;

    // Puts the block (or the plug-in's null) into `slot`; a slot the plug-in left
    // alone stays so. False when memory ran out for the block.
    bool Deliver(HLOCAL* slot)
    {
        if (!slot || state_ == kUntouched)
            return true;
        *slot = state_ == kBlock ? block_ : nullptr;
        block_ = nullptr;
        return state_ != kBlock || *slot;
    }

private:
    std::uint32_t state_;
    HLOCAL block_ = nullptr;
};

template <class Char>
int PluginInfo(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    const int infono = IntArgument(arguments, 0);
    Char* buf = Argument<Char*>(arguments, 1);
    int buflen = IntArgument(arguments, 2);
    if (buflen > kInfoBufferLimit)
        buflen = kInfoBufferLimit;
    const std::size_t bytes = buf && buflen > 0 ? static_cast<std::size_t>(buflen) * sizeof(Char) : 0;
    int result = FailureResult(static_cast<Entry>(entry));
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            request.I32(infono);
            request.I32(buflen);
            request.U32(buf ? 1 : 0);
            request.Bytes(buf, bytes);
        },
        nullptr, false,
        [&](MessageReader& answer) {
            result = answer.I32();
            std::size_t size;
            const unsigned char* text = answer.Bytes(&size);
            if (size == bytes && bytes)
                std::memcpy(buf, text, bytes);
        });
    return done ? result : FailureResult(static_cast<Entry>(entry));
}

template <class Char>
int Support(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    const Char* name = Argument<const Char*>(arguments, 0);
    const ULONG_PTR dw = arguments[1];
    int result = 0;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteName(request, name);
            if (dw & ~static_cast<ULONG_PTR>(0xFFFF)) {
                request.U32(kHeaderBuffer);
                request.U32(0);
                request.Bytes(reinterpret_cast<const void*>(dw), kHeaderBufferSize);
            } else {
                // The plug-in reads the host's file through a duplicate, which shares
                // the file position as the host's handle would.
                std::uint32_t handle = 0;
                if (dw)
                    handle = TheBridgeClient().DuplicateIntoHelper(reinterpret_cast<HANDLE>(dw));
                request.U32(handle ? kFileHandle : kValue);
                request.U32(handle ? handle : static_cast<std::uint32_t>(dw));
                request.Bytes(nullptr, 0);
            }
        },
        nullptr, false, [&](MessageReader& answer) { result = answer.I32(); });
    return done ? result : 0;
}

template <class Char>
int PictureInfo(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    auto* record = Argument<SpiPictureInfo*>(arguments, 3);
    int result = kSpiUnknownFormat;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteInput<Char>(request, arguments, 2);
            request.U32(record ? 1 : 0);
            request.Bytes(record, record ? kPictureFieldsSize : 0);
        },
        nullptr, false,
        [&](MessageReader& answer) {
            const int answered = answer.I32();
            std::size_t size;
            const unsigned char* fields = answer.Bytes(&size);
            ArrivingBlock text(answer, record != nullptr);
            result = answered;
            if (record && size == kPictureFieldsSize)
                std::memcpy(record, fields, kPictureFieldsSize);
            if (!text.Deliver(record ? &record->hInfo : nullptr) && result == kSpiSuccess)
                result = kSpiOutOfMemory;
        });
    return done ? result : kSpiUnknownFormat;
}

template <class Char>
int Picture(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    auto* info = Argument<HLOCAL*>(arguments, 3);
    auto* bits = Argument<HLOCAL*>(arguments, 4);
    auto* progress = Argument<SpiProgressCallback*>(arguments, 5);
    const LONG_PTR data = Argument<LONG_PTR>(arguments, 6);
    const int failure = FailureResult(static_cast<Entry>(entry));
    int result = failure;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteInput<Char>(request, arguments, 2);
            request.U32(info ? 1 : 0);
            request.U32(bits ? 1 : 0);
            WriteProgress(request, progress, data);
        },
        HostProgress(progress, data), false,
        [&](MessageReader& answer) {
            const int answered = answer.I32();
            ArrivingBlock arrivingInfo(answer, info != nullptr);
            ArrivingBlock arrivingBits(answer, bits != nullptr);
            result = answered;
            bool kept = arrivingInfo.Deliver(info);
            kept = arrivingBits.Deliver(bits) && kept;
            if (!kept && result == kSpiSuccess)
                result = kSpiOutOfMemory;
        });
    return done ? result : failure;
}

template <class Char>
int ArchiveInfo(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    auto* table = Argument<HLOCAL*>(arguments, 3);
    int result = kSpiUnknownFormat;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteInput<Char>(request, arguments, 2);
            request.U32(table ? 1 : 0);
        },
        nullptr, false,
        [&](MessageReader& answer) {
            result = answer.I32();
            // The table arrives in the 32-bit layout and is handed on in this one.
            const HLOCAL untouched = reinterpret_cast<HLOCAL>(1);
            HLOCAL narrow = untouched;
            bool kept = ArrivingBlock(answer, table != nullptr).Deliver(table ? &narrow : nullptr);
            if (table && narrow != untouched) {
                *table = narrow ? WidenFileInfoTable(narrow, Char()) : nullptr;
                kept = kept && (!narrow || *table);
                LocalFree(narrow);
            }
            if (!kept && result == kSpiSuccess)
                result = kSpiOutOfMemory;
        });
    return done ? result : kSpiUnknownFormat;
}

template <class Char, class Record, class Narrow>
int FileInfo(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    auto* record = Argument<Record*>(arguments, 4);
    int result = kSpiUnknownFormat;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteInput<Char>(request, arguments, 3);
            WriteName(request, Argument<const Char*>(arguments, 2));
            request.U32(record ? 1 : 0);
            if (record) {
                // What the host's record holds before the call is the plug-in's to
                // overwrite; values that do not fit cross cut.
                Narrow narrow;
                NarrowFileInfo(*record, &narrow);
                request.Bytes(&narrow, sizeof narrow);
            } else {
                request.Bytes(nullptr, 0);
            }
        },
        nullptr, false,
        [&](MessageReader& answer) {
            result = answer.I32();
            std::size_t size;
            const unsigned char* bytes = answer.Bytes(&size);
            if (record)
                WidenFileInfo(bytes, size, *record);
        });
    return done ? result : kSpiUnknownFormat;
}

template <class Char>
int File(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    const unsigned int flag = static_cast<unsigned int>(arguments[3]);
    const bool toMemory = (flag & kSpiOutputMask) == kSpiOutputMemory;
    Char* dest = Argument<Char*>(arguments, 2);
    auto* progress = Argument<SpiProgressCallback*>(arguments, 4);
    const LONG_PTR data = Argument<LONG_PTR>(arguments, 5);
    int result = kSpiUnknownFormat;
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            WriteInput<Char>(request, arguments, 3);
            WriteName(request, toMemory ? static_cast<const Char*>(nullptr) : dest);
            request.U32(dest ? 1 : 0);
            WriteProgress(request, progress, data);
        },
        HostProgress(progress, data), false,
        [&](MessageReader& answer) {
            result = answer.I32();
            HLOCAL* slot = toMemory ? reinterpret_cast<HLOCAL*>(dest) : nullptr;
            if (!ArrivingBlock(answer, slot != nullptr).Deliver(slot) && result == kSpiSuccess)
                result = kSpiOutOfMemory;
        });
    return done ? result : kSpiUnknownFormat;
}

int Configuration(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    int result = kSpiUnknownFormat;
    // The plug-in's dialog stays open as long as the user wants it.
    bool done = TheBridgeClient().Call(
        plugin, entry,
        [&](MessageWriter& request) {
            // Window handles have the same value in processes of both widths.
            request.U32(static_cast<std::uint32_t>(arguments[0]));
            request.I32(IntArgument(arguments, 1));
        },
        nullptr, true, [&](MessageReader& answer) { result = answer.I32(); });
    return done ? result : kSpiUnknownFormat;
}

// The entry points whose second argument is `len`: a file offset, an image size or an
// entry position.
bool TakesLength(std::uint32_t entry)
{
    switch (entry) {
    case kGetPictureInfo:
    case kGetPicture:
    case kGetPreview:
    case kGetArchiveInfo:
    case kGetFileInfo:
    case kGetFile:
    case kGetPictureInfoW:
    case kGetPictureW:
    case kGetPreviewW:
    case kGetArchiveInfoW:
    case kGetFileInfoW:
    case kGetFileW:
        return true;
    default:
        return false;
    }
}

// The plug-in receives `len` in 32 bits. A value that is neither an unsigned nor a
// sign-extended 32-bit one would reach it as another position, and it would answer
// about the wrong data.
bool LengthFits32(std::uint32_t entry, const ULONG_PTR* arguments)
{
    if (!TakesLength(entry))
        return true;
    const auto len = static_cast<std::int64_t>(arguments[1]);
    return len >= INT32_MIN && len <= static_cast<std::int64_t>(UINT32_MAX);
}

}  // namespace

int CallBridged(BridgedPlugin& plugin, std::uint32_t entry, const ULONG_PTR* arguments)
{
    try {
        if (!LengthFits32(entry, arguments))
            return FailureResult(static_cast<Entry>(entry));
        switch (entry) {
        case kGetPluginInfo:
            return PluginInfo<char>(plugin, entry, arguments);
        case kGetPluginInfoW:
            return PluginInfo<wchar_t>(plugin, entry, arguments);
        case kIsSupported:
            return Support<char>(plugin, entry, arguments);
        case kIsSupportedW:
            return Support<wchar_t>(plugin, entry, arguments);
        case kGetPictureInfo:
            return PictureInfo<char>(plugin, entry, arguments);
        case kGetPictureInfoW:
            return PictureInfo<wchar_t>(plugin, entry, arguments);
        case kGetPicture:
        case kGetPreview:
            return Picture<char>(plugin, entry, arguments);
        case kGetPictureW:
        case kGetPreviewW:
            return Picture<wchar_t>(plugin, entry, arguments);
        case kGetArchiveInfo:
            return ArchiveInfo<char>(plugin, entry, arguments);
        case kGetArchiveInfoW:
            return ArchiveInfo<wchar_t>(plugin, entry, arguments);
        case kGetFileInfo:
            return FileInfo<char, SpiFileInfo, FileInfo32>(plugin, entry, arguments);
        case kGetFileInfoW:
            return FileInfo<wchar_t, SpiFileInfoW, FileInfoW32>(plugin, entry, arguments);
        case kGetFile:
            return File<char>(plugin, entry, arguments);
        case kGetFileW:
            return File<wchar_t>(plugin, entry, arguments);
        case kConfigurationDlg:
            return Configuration(plugin, entry, arguments);
        default:
            return kSpiUnknownFormat;
        }
    } catch (...) {
        return entry < kEntryCount ? FailureResult(static_cast<Entry>(entry)) : kSpiUnknownFormat;
    }
}
