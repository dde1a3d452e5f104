// The image build's dispatching exports.
#include "export_guard.h"
#include "plugin_interface.h"
#include "request_dispatch.h"

namespace {
constexpr ExportResults kPictureResults{kSpiUnknownFormat, kSpiUnknownFormat};
constexpr ExportResults kPreviewResults{kSpiNotImplemented, kSpiNotImplemented};
}  // namespace

extern "C" {

GetPictureInfoFunction GetPictureInfo;
GetPictureFunction GetPicture;
GetPreviewFunction GetPreview;

int WINAPI GetPictureInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    return RunExport(kPictureResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetPictureInfo, kSpiUnknownFormat, buf, len, flag,
                               lpInfo);
    });
}

int WINAPI GetPicture(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return RunExport(kPictureResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetPicture, kSpiUnknownFormat, buf, len, flag, pHBInfo,
                               pHBm, progressCallback, lData);
    });
}

int WINAPI GetPreview(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return RunExport(kPreviewResults, [&] {
        return DispatchRequest({buf, flag}, &PluginEntryPoints::GetPreview, kSpiNotImplemented, buf, len, flag, pHBInfo,
                               pHBm, progressCallback, lData);
    });
}

}  // extern "C"
