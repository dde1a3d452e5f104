// The archive build's dispatching exports. Unlike GetPreview, none of them answers -1.
#include "export_guard.h"
#include "plugin_interface.h"
#include "code_page_text.h"
#include "file_info_conversion.h"
#include "local_memory.h"
#include "request_dispatch.h"
#include "wide_input.h"

namespace {

constexpr ExportResults kArchiveResults{kSpiUnknownFormat, kSpiUnknownFormat};

// The entry table of an ANSI-only candidate, as wide records in a block of our own.
int ArchiveInfoThroughAnsi(const PluginEntryPoints& candidate, LPCSTR buf, LONG_PTR len, unsigned int flag,
                           HLOCAL* lphInf)
{
    if (!lphInf)
        return candidate.GetArchiveInfo(buf, len, flag, nullptr);
    HLOCAL answer = nullptr;
    const int result = candidate.GetArchiveInfo(buf, len, flag, &answer);
    if (result != 0)
        return result;  // what a failing plug-in left in `answer` may be no block at all
    if (!answer)
        return kSpiMemoryError;
    LocalMemory ansiTable(answer);
    HLOCAL wideTable = ConvertFileInfoTable(ansiTable.Get());
    if (!wideTable)
        return kSpiOutOfMemory;
    *lphInf = wideTable;
    return 0;
}

int FileInfoThroughAnsi(const PluginEntryPoints& candidate, LPCSTR buf, LONG_PTR len, LPCWSTR entryName,
                        unsigned int flag, SpiFileInfoW* lpInfo)
{
    std::optional<std::string> ansiEntryName;
    if (entryName) {
        // A name inside an archive has no short form: without an exact ANSI one this
        // candidate cannot be asked.
        ansiEntryName = AnsiFromWide(entryName);
        if (!ansiEntryName)
            return kSpiUnknownFormat;
    }
    SpiFileInfo ansiInfo = {};
    const int result = candidate.GetFileInfo(buf, len, ansiEntryName ? ansiEntryName->c_str() : nullptr, flag,
                                             lpInfo ? &ansiInfo : nullptr);
    if (result == 0 && lpInfo)
        ConvertFileInfo(ansiInfo, *lpInfo);
    return result;
}

int FileThroughAnsi(const PluginEntryPoints& candidate, LPCSTR buf, LONG_PTR len, LPWSTR dest, unsigned int flag,
                    SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    if ((flag & kSpiOutputMask) != kSpiOutputFile || !dest)
        return candidate.GetFile(buf, len, reinterpret_cast<LPSTR>(dest), flag, progressCallback, lData);
    std::optional<std::string> folder = AnsiNameOfFile(dest);
    if (!folder)
        return kSpiUnknownFormat;
    return candidate.GetFile(buf, len, &(*folder)[0], flag, progressCallback, lData);
}

}  // namespace

extern "C" {

GetArchiveInfoFunction GetArchiveInfo;
GetFileInfoFunction GetFileInfo;
GetFileFunction GetFile;
GetArchiveInfoWFunction GetArchiveInfoW;
GetFileInfoWFunction GetFileInfoW;
GetFileWFunction GetFileW;

int WINAPI GetArchiveInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    return RunExport(kArchiveResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetArchiveInfo, kSpiUnknownFormat, buf, len, flag,
                               lphInf);
    });
}

int WINAPI GetFileInfo(LPCSTR buf, LONG_PTR len, LPCSTR entryName, unsigned int flag, SpiFileInfo* lpInfo)
{
    return RunExport(kArchiveResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetFileInfo, kSpiUnknownFormat, buf, len, entryName,
                               flag, lpInfo);
    });
}

int WINAPI GetFile(LPCSTR buf, LONG_PTR len, LPSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
                   LONG_PTR lData)
{
    return RunExport(kArchiveResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetFile, kSpiUnknownFormat, buf, len, dest, flag,
                               progressCallback, lData);
    });
}

int WINAPI GetArchiveInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf)
{
    return RunExport(kArchiveResults, [&] {
        WideInput input(buf, flag);
        return DispatchRequestW({buf, flag}, kSpiUnknownFormat, [&](const PluginEntryPoints& candidate) {
            if (candidate.GetArchiveInfoW)
                return candidate.GetArchiveInfoW(buf, len, flag, lphInf);
            LPCSTR ansiBuf = candidate.GetArchiveInfo ? input.Ansi() : nullptr;
            return ansiBuf ? ArchiveInfoThroughAnsi(candidate, ansiBuf, len, flag, lphInf)
                           : static_cast<int>(kSpiUnknownFormat);
        });
    });
}

int WINAPI GetFileInfoW(LPCWSTR buf, LONG_PTR len, LPCWSTR entryName, unsigned int flag, SpiFileInfoW* lpInfo)
{
    return RunExport(kArchiveResults, [&] {
        WideInput input(buf, flag);
        return DispatchRequestW({buf, flag}, kSpiUnknownFormat, [&](const PluginEntryPoints& candidate) {
            if (candidate.GetFileInfoW)
                return candidate.GetFileInfoW(buf, len, entryName, flag, lpInfo);
            LPCSTR ansiBuf = candidate.GetFileInfo ? input.Ansi() : nullptr;
            return ansiBuf ? FileInfoThroughAnsi(candidate, ansiBuf, len, entryName, flag, lpInfo)
                           : static_cast<int>(kSpiUnknownFormat);
        });
    });
}

int WINAPI GetFileW(LPCWSTR buf, LONG_PTR len, LPWSTR dest, unsigned int flag, SpiProgressCallback* progressCallback,
                    LONG_PTR lData)
{
    return RunExport(kArchiveResults, [&] {
        WideInput input(buf, flag);
        return DispatchRequestW({buf, flag}, kSpiUnknownFormat, [&](const PluginEntryPoints& candidate) {
            if (candidate.GetFileW)
                return candidate.GetFileW(buf, len, dest, flag, progressCallback, lData);
            LPCSTR ansiBuf = candidate.GetFile ? input.Ansi() : nullptr;
            return ansiBuf ? FileThroughAnsi(candidate, ansiBuf, len, dest, flag, progressCallback, lData)
                           : static_cast<int>(kSpiUnknownFormat);
        });
    });
}

}  // extern "C"
