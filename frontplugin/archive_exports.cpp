// The archive build's dispatching exports. Unlike GetPreview, none of them answers -1.
#include "export_guard.h"
#include "plugin_interface.h"
#include "request_dispatch.h"

namespace {
constexpr ExportResults kArchiveResults{kSpiUnknownFormat, kSpiUnknownFormat};
}

extern "C" {

GetArchiveInfoFunction GetArchiveInfo;
GetFileInfoFunction GetFileInfo;
GetFileFunction GetFile;

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

}  // extern "C"
