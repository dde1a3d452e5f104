#include "plugin_calls.h"

#include <cstring>
#include <vector>

#include "file_info_layouts.h"
#include "plugin_interface.h"

using namespace bridge;

namespace {

// The channel of the call that runs; the helper runs one call at a time.
HelperChannel* currentChannel = nullptr;

int WINAPI RelayProgress(int done, int total, LONG_PTR)
{
    return currentChannel ? currentChannel->Progress(done, total) : 1;
}

// An output handle the plug-in may set; its slot starts with a value no plug-in
// hands out, so one that is left alone shows.
const HLOCAL kUntouchedHandle = reinterpret_cast<HLOCAL>(1);

// The plug-in's blocks of the answer being sent: their bytes go into the channel from
// where they lie, so they are freed only once the answer is there.
std::vector<HLOCAL> blocksInFlight;

void WriteBlock(MessageWriter& results, HLOCAL handle)
{
    if (handle == kUntouchedHandle) {
        results.U32(kUntouched);
        return;
    }
    if (!handle) {
        results.U32(kNull);
        return;
    }
    blocksInFlight.push_back(handle);
    void* bytes = LocalLock(handle);
    results.U32(kBlock);
    results.U32(bytes == handle ? 1 : 0);  // a fixed block is its own address
    results.BytesInPlace(bytes, bytes ? LocalSize(handle) : 0);
}

// The picture, archive and file input: a name or a memory image.
struct Input {
    const void* buf = nullptr;
    LONG_PTR len = 0;
    unsigned int flag = 0;
};

Input ReadInput(MessageReader& arguments)
{
    Input input;
    input.flag = arguments.U32();
    input.len = static_cast<LONG_PTR>(arguments.I64());
    std::uint32_t present = arguments.U32();
    std::size_t size;
    const unsigned char* bytes = arguments.Bytes(&size);
    input.buf = present ? bytes : nullptr;
    return input;
}

template <class Char>
const Char* Name(MessageReader& arguments)
{
    std::uint32_t present = arguments.U32();
    std::size_t size;
    const unsigned char* bytes = arguments.Bytes(&size);
    return present ? reinterpret_cast<const Char*>(bytes) : nullptr;
}

SpiProgressCallback* Progress(MessageReader& arguments, LONG_PTR* data)
{
    std::uint32_t present = arguments.U32();
    *data = static_cast<LONG_PTR>(arguments.I64());
    return present ? RelayProgress : nullptr;
}

template <class Char, class Function>
int PluginInfo(Function* function, MessageReader& arguments, MessageWriter& results)
{
    int infono = arguments.I32();
    int buflen = arguments.I32();
    std::uint32_t present = arguments.U32();
    std::size_t size;
    const unsigned char* content = arguments.Bytes(&size);
    std::vector<Char> buffer(size / sizeof(Char) + 1);
    std::memcpy(buffer.data(), content, size);
    int result = function(infono, present ? reinterpret_cast<decltype(&buffer[0])>(buffer.data()) : nullptr, buflen);
    results.I32(result);
    results.Bytes(buffer.data(), size);
    return result;
}

template <class Char, class Function>
void Support(Function* function, MessageReader& arguments, MessageWriter& results)
{
    const Char* name = Name<Char>(arguments);
    std::uint32_t kind = arguments.U32();
    std::uint32_t value = arguments.U32();
    std::size_t size;
    const unsigned char* header = arguments.Bytes(&size);
    ULONG_PTR dw = kind == kHeaderBuffer ? reinterpret_cast<ULONG_PTR>(header) : value;
    results.I32(function(name, dw));
    if (kind == kFileHandle && value)
        CloseHandle(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(value)));
}

template <class Char, class Function>
void PictureInfo(Function* function, MessageReader& arguments, MessageWriter& results)
{
    Input input = ReadInput(arguments);
    std::uint32_t present = arguments.U32();
    std::size_t size;
    const unsigned char* fields = arguments.Bytes(&size);
    SpiPictureInfo record;
    std::memset(&record, 0, sizeof record);
    std::memcpy(&record, fields, size < kPictureFieldsSize ? size : kPictureFieldsSize);
    record.hInfo = kUntouchedHandle;
    results.I32(function(static_cast<const Char*>(input.buf), input.len, input.flag, present ? &record : nullptr));
    results.Bytes(&record, kPictureFieldsSize);
    WriteBlock(results, present ? record.hInfo : kUntouchedHandle);
}

template <class Char, class Function>
void Picture(Function* function, MessageReader& arguments, MessageWriter& results)
{
    Input input = ReadInput(arguments);
    std::uint32_t wantsInfo = arguments.U32();
    std::uint32_t wantsBits = arguments.U32();
    LONG_PTR data;
    SpiProgressCallback* progress = Progress(arguments, &data);
    HLOCAL info = kUntouchedHandle;
    HLOCAL bits = kUntouchedHandle;
    results.I32(function(static_cast<const Char*>(input.buf), input.len, input.flag, wantsInfo ? &info : nullptr,
                         wantsBits ? &bits : nullptr, progress, data));
    WriteBlock(results, info);
    WriteBlock(results, bits);
}

template <class Char, class Function>
void ArchiveInfo(Function* function, MessageReader& arguments, MessageWriter& results)
{
    Input input = ReadInput(arguments);
    std::uint32_t wantsTable = arguments.U32();
    HLOCAL table = kUntouchedHandle;
    results.I32(function(static_cast<const Char*>(input.buf), input.len, input.flag, wantsTable ? &table : nullptr));
    if (table == kUntouchedHandle || !table)
        return WriteBlock(results, table);
    // The table crosses in the 32-bit layout; the host makes its own block of it.
    const std::vector<unsigned char> narrow = NarrowFileInfoTable(table, Char());
    LocalFree(table);
    results.U32(kBlock);
    results.U32(0);
    results.Bytes(narrow.data(), narrow.size());
}

template <class Char, class Record, class Narrow, class Function>
void FileInfo(Function* function, MessageReader& arguments, MessageWriter& results)
{
    Input input = ReadInput(arguments);
    const Char* entryName = Name<Char>(arguments);
    std::uint32_t present = arguments.U32();
    std::size_t size;
    const unsigned char* bytes = arguments.Bytes(&size);
    Record record;
    std::memset(&record, 0, sizeof record);
    WidenFileInfo(bytes, size, record);
    int result = function(static_cast<const Char*>(input.buf), input.len, entryName, input.flag,
                          present ? &record : nullptr);
    Narrow narrow;
    if (NarrowFileInfo(record, &narrow)) {
        results.I32(result);
        results.Bytes(&narrow, sizeof narrow);
    } else {
        // An entry the 32-bit host cannot hold, as its table leaves it out: the call
        // fails and the host's record stays as it was.
        results.I32(result == kSpiSuccess ? kSpiUnknownFormat : result);
        results.Bytes(nullptr, 0);
    }
}

template <class Char, class Function>
void File(Function* function, MessageReader& arguments, MessageWriter& results)
{
    Input input = ReadInput(arguments);
    const Char* folder = Name<Char>(arguments);
    std::uint32_t wantsBlock = arguments.U32();
    LONG_PTR data;
    SpiProgressCallback* progress = Progress(arguments, &data);
    const bool toMemory = (input.flag & kSpiOutputMask) == kSpiOutputMemory;
    HLOCAL block = kUntouchedHandle;
    Char* dest = toMemory ? (wantsBlock ? reinterpret_cast<Char*>(&block) : nullptr) : const_cast<Char*>(folder);
    results.I32(function(static_cast<const Char*>(input.buf), input.len, dest, input.flag, progress, data));
    WriteBlock(results, toMemory && wantsBlock ? block : kUntouchedHandle);
}

void Configuration(ConfigurationDlgFunction* function, MessageReader& arguments, MessageWriter& results)
{
    HWND parent = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(arguments.U32()));
    int fnc = arguments.I32();
    results.I32(function(parent, fnc));
}

}  // namespace

void RunPluginCall(const PluginEntryPoints& p, Entry entry, MessageReader& arguments, HelperChannel& channel,
                   MessageWriter& results)
{
    currentChannel = &channel;
    switch (entry) {
    case kGetPluginInfo:
        if (p.GetPluginInfo)
            return void(PluginInfo<char>(p.GetPluginInfo, arguments, results));
        break;
    case kGetPluginInfoW:
        if (p.GetPluginInfoW)
            return void(PluginInfo<WCHAR>(p.GetPluginInfoW, arguments, results));
        break;
    case kIsSupported:
        if (p.IsSupported)
            return Support<char>(p.IsSupported, arguments, results);
        break;
    case kIsSupportedW:
        if (p.IsSupportedW)
            return Support<WCHAR>(p.IsSupportedW, arguments, results);
        break;
    case kGetPictureInfo:
        if (p.GetPictureInfo)
            return PictureInfo<char>(p.GetPictureInfo, arguments, results);
        break;
    case kGetPictureInfoW:
        if (p.GetPictureInfoW)
            return PictureInfo<WCHAR>(p.GetPictureInfoW, arguments, results);
        break;
    case kGetPicture:
        if (p.GetPicture)
            return Picture<char>(p.GetPicture, arguments, results);
        break;
    case kGetPictureW:
        if (p.GetPictureW)
            return Picture<WCHAR>(p.GetPictureW, arguments, results);
        break;
    case kGetPreview:
        if (p.GetPreview)
            return Picture<char>(p.GetPreview, arguments, results);
        break;
    case kGetPreviewW:
        if (p.GetPreviewW)
            return Picture<WCHAR>(p.GetPreviewW, arguments, results);
        break;
    case kGetArchiveInfo:
        if (p.GetArchiveInfo)
            return ArchiveInfo<char>(p.GetArchiveInfo, arguments, results);
        break;
    case kGetArchiveInfoW:
        if (p.GetArchiveInfoW)
            return ArchiveInfo<WCHAR>(p.GetArchiveInfoW, arguments, results);
        break;
    case kGetFileInfo:
        if (p.GetFileInfo)
            return FileInfo<char, SpiFileInfo, FileInfo32>(p.GetFileInfo, arguments, results);
        break;
    case kGetFileInfoW:
        if (p.GetFileInfoW)
            return FileInfo<WCHAR, SpiFileInfoW, FileInfoW32>(p.GetFileInfoW, arguments, results);
        break;
    case kGetFile:
        if (p.GetFile)
            return File<char>(p.GetFile, arguments, results);
        break;
    case kGetFileW:
        if (p.GetFileW)
            return File<WCHAR>(p.GetFileW, arguments, results);
        break;
    case kConfigurationDlg:
        if (p.ConfigurationDlg)
            return Configuration(p.ConfigurationDlg, arguments, results);
        break;
    default:
        break;
    }
    results.I32(FailureResult(entry < kEntryCount ? entry : kGetPicture));
}

void ReleaseSentBlocks()
{
    for (HLOCAL handle : blocksInFlight) {
        LocalUnlock(handle);
        LocalFree(handle);
    }
    blocksInFlight.clear();
}
