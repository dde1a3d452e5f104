// SampleTar.spi: an archive extractor ("00AM") for uncompressed tar archives
// (ustar). Entries are the archive's regular files; `position` is where an entry's
// header starts: in the file (counting from its start, whatever offset the archive
// was read at), or in the memory image.
//
// GetFile takes the entry from `buf` and `len` as follows. File input: `buf` is the
// archive's file name and `len` the entry's position. Memory input: `buf` points to
// the entry's header inside the memory image (the image's start plus the position)
// and `len` is the number of bytes from there to the end of the image, so that no
// read can leave the image. Output goes to the folder `dest` under the entry's file
// name alone (its stored folders are not made, and no name can climb out of the
// folder), or, with output kind 0x100, to a movable LocalAlloc'd block whose handle
// is stored where `dest` points.
#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "entry_names.h"
#include "local_block.h"
#include "output_file.h"
#include "plugin_exports.h"
#include "plugin_input.h"
#include "tar_format.h"

namespace {

const char* const kPluginInfo[] = {
    "00AM",
    "BriskSPI sample tar extractor 1.0",
    "*.tar",
    "tar archive (uncompressed)",
};

const char kAboutText[] =
    "BriskSPI sample tar extractor 1.0\n\n"
    "Lists and extracts uncompressed tar archives (ustar).\n"
    "A sample plug-in that comes with BriskSPI.";

// GetFileInfo: compare entry names without regard to letter case.
constexpr unsigned int kIgnoreCase = 0x80;
// Bytes copied between two progress reports.
constexpr std::size_t kCopyStep = 64 * 1024;

int ResultOf(TarCheck check)
{
    switch (check) {
    case TarCheck::kOk:
        return kSpiSuccess;
    case TarCheck::kBroken:
        return kSpiBrokenData;
    default:
        return kSpiUnknownFormat;
    }
}

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text)
{
    lstrcpynA(field, text.c_str(), static_cast<int>(N));
}

void FillFileInfo(const TarEntry& entry, std::uint64_t base, SpiFileInfo& info)
{
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.method, "ustar", 5);
    info.position = static_cast<ULONG_PTR>(base + entry.headerOffset);
    info.compressedSize = info.fileSize = static_cast<ULONG_PTR>(entry.size);
    constexpr std::int64_t earliest = std::numeric_limits<LONG_PTR>::min();
    constexpr std::int64_t latest = std::numeric_limits<LONG_PTR>::max();
    info.timestamp = static_cast<LONG_PTR>(std::clamp(entry.modified, earliest, latest));
    std::string hostName = HostEntryName(entry.name);
    CopyText(info.path, EntryFolder(hostName));
    CopyText(info.fileName, EntryFileName(hostName));
}

int ListArchive(LPCSTR buf, LONG_PTR len, unsigned int flag, std::vector<TarEntry>& entries, std::uint64_t& base)
{
    std::unique_ptr<ByteSource> archive;
    int result = OpenPluginInput(buf, len, flag, archive);
    if (result != kSpiSuccess)
        return result;
    base = (flag & kSpiInputMask) == kSpiInputFile ? static_cast<std::uint64_t>(len) : 0;
    return ResultOf(ListTarEntries(*archive, entries));
}

int ArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    if (!lphInf)
        return kSpiMemoryError;
    std::vector<TarEntry> entries;
    std::uint64_t base = 0;
    int result = ListArchive(buf, len, flag, entries, base);
    if (result != kSpiSuccess)
        return result;
    // The table ends with an entry whose method is empty.
    LocalBlock table((entries.size() + 1) * sizeof(SpiFileInfo));
    if (!table.Data())
        return kSpiOutOfMemory;
    auto* records = reinterpret_cast<SpiFileInfo*>(table.Data());
    for (std::size_t i = 0; i < entries.size(); ++i)
        FillFileInfo(entries[i], base, records[i]);
    *lphInf = table.Release();
    return kSpiSuccess;
}

int FileInfo(LPCSTR buf, LONG_PTR len, LPCSTR entryName, unsigned int flag, SpiFileInfo* lpInfo)
{
    if (!lpInfo || !entryName)
        return kSpiMemoryError;
    std::vector<TarEntry> entries;
    std::uint64_t base = 0;
    int result = ListArchive(buf, len, flag, entries, base);
    if (result != kSpiSuccess)
        return result;
    for (const TarEntry& entry : entries) {
        if (SameEntryName(entryName, HostEntryName(entry.name), (flag & kIgnoreCase) != 0)) {
            FillFileInfo(entry, base, *lpInfo);
            return kSpiSuccess;
        }
    }
    // The interface has no code of its own for an entry the archive lacks.
    return kSpiUnknownFormat;
}

// The host's progress, in numbers that fit its int arguments.
bool Cancelled(SpiProgressCallback* progressCallback, LONG_PTR lData, std::uint64_t done, std::uint64_t total)
{
    if (!progressCallback)
        return false;
    while (total > INT_MAX) {
        total >>= 10;
        done >>= 10;
    }
    return progressCallback(static_cast<int>(done), static_cast<int>(total), lData) != 0;
}

using ChunkSink = std::function<bool(const unsigned char* data, std::size_t size, std::uint64_t at)>;

int CopyEntry(ByteSource& archive, const TarEntry& entry, const ChunkSink& sink,
              SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    std::vector<unsigned char> chunk(kCopyStep);
    for (std::uint64_t done = 0;;) {
        if (Cancelled(progressCallback, lData, done, entry.size))
            return kSpiCancelled;
        if (done == entry.size)
            return kSpiSuccess;
        std::size_t size = entry.size - done < kCopyStep ? static_cast<std::size_t>(entry.size - done) : kCopyStep;
        if (!archive.Read(entry.dataOffset + done, chunk.data(), size))
            return kSpiReadError;
        if (!sink(chunk.data(), size, done))
            return kSpiInternalError;
        done += size;
    }
}

int ExtractToMemory(ByteSource& archive, const TarEntry& entry, HLOCAL* target,
                    SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    if (entry.size > SIZE_MAX)
        return kSpiOutOfMemory;
    LocalBlock block(static_cast<std::size_t>(entry.size));
    if (!block.Data())
        return kSpiOutOfMemory;
    unsigned char* into = block.Data();
    ChunkSink sink = [into](const unsigned char* data, std::size_t size, std::uint64_t at) {
        std::memcpy(into + at, data, size);
        return true;
    };
    int result = CopyEntry(archive, entry, sink, progressCallback, lData);
    if (result == kSpiSuccess)
        *target = block.Release();
    return result;
}

int ExtractToFolder(ByteSource& archive, const TarEntry& entry, const std::string& folder,
                    SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    std::string name = SafeOutputName(entry.name);
    if (name.empty())
        return kSpiBrokenData;
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += '\\';
    OutputFile file(path + name);
    if (!file.IsOpen())
        return kSpiInternalError;
    ChunkSink sink = [&file](const unsigned char* data, std::size_t size, std::uint64_t) {
        return file.Write(data, size);
    };
    int result = CopyEntry(archive, entry, sink, progressCallback, lData);
    if (result == kSpiSuccess && !file.Keep())
        return kSpiInternalError;
    return result;
}

int File(LPCSTR buf, LONG_PTR len, LPSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
         LONG_PTR lData)
{
    if (!dest)
        return kSpiMemoryError;
    bool fromFile = (flag & kSpiInputMask) == kSpiInputFile;
    if (fromFile && len < 0)
        return kSpiReadError;
    std::unique_ptr<ByteSource> archive;
    int result = OpenPluginInput(buf, fromFile ? 0 : len, flag, archive);
    if (result != kSpiSuccess)
        return result;
    TarEntry entry;
    result = ResultOf(ReadTarEntryAt(*archive, fromFile ? static_cast<std::uint64_t>(len) : 0, entry));
    if (result != kSpiSuccess)
        return result;
    switch (flag & kSpiOutputMask) {
    case kSpiOutputFile:
        return ExtractToFolder(*archive, entry, dest, progressCallback, lData);
    case kSpiOutputMemory:
        return ExtractToMemory(*archive, entry, reinterpret_cast<HLOCAL*>(dest), progressCallback, lData);
    default:
        return kSpiNotImplemented;
    }
}

}  // namespace

extern "C" {

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    return GuardExport([&] { return AnswerPluginInfo(kPluginInfo, 4, infono, buf, buflen); });
}

int WINAPI IsSupported(LPCSTR, ULONG_PTR dw)
{
    return GuardExport([&] {
        unsigned char head[kTarBlockSize] = {};
        TarHeader header;
        if (ReadSupportHead(dw, head, sizeof head) < sizeof head)
            return 0;
        return ReadTarHeader(head, header) == TarCheck::kOk ? 1 : 0;
    });
}

int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    return GuardExport([&] { return ArchiveInfo(buf, len, flag, lphInf); });
}

int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR entryName, unsigned int flag, SpiFileInfo* lpInfo)
{
    return GuardExport([&] { return FileInfo(buf, len, entryName, flag, lpInfo); });
}

int WINAPI GetFile(LPCSTR buf, LONG_PTR len, LPSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
                   LONG_PTR lData)
{
    return GuardExport([&] { return File(buf, len, dest, flag, progressCallback, lData); });
}

int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    return GuardExport([&] { return AnswerConfigurationDlg(parent, fnc, kAboutText); });
}

}  // extern "C"
