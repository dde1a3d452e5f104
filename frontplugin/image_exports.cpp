// The image build's dispatching exports.
#include "export_guard.h"
#include "plugin_interface.h"
#include "request_dispatch.h"
#include "wide_input.h"

namespace {
constexpr ExportResults kPictureResults{kSpiUnknownFormat, kSpiUnknownFormat};
constexpr ExportResults kPreviewResults{kSpiNotImplemented, kSpiNotImplemented};
// Picture and preview share their arguments; a candidate without the W entry point
// gets the ANSI one with the name converted.
int DispatchPictureW(GetPictureWFunction* PluginEntryPoints::*wideEntryPoint,
                     GetPictureFunction* PluginEntryPoints::*ansiEntryPoint, int noneSucceeded, LPCWSTR buf,
                     LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                     SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    WideInput input(buf, flag);
    return DispatchRequestW({buf, flag}, noneSucceeded, [&](const PluginEntryPoints& candidate) {
        if (GetPictureWFunction* wide = candidate.*wideEntryPoint)
            return wide(buf, len, flag, pHBInfo, pHBm, progressCallback, lData);
        GetPictureFunction* ansi = candidate.*ansiEntryPoint;
        LPCSTR ansiBuf = ansi ? input.Ansi() : nullptr;
        if (!ansiBuf)
            return noneSucceeded;
        return ansi(ansiBuf, len, flag, pHBInfo, pHBm, progressCallback, lData);
    });
}

}  // namespace

extern "C" {

GetPictureInfoFunction GetPictureInfo;
GetPictureFunction GetPicture;
GetPreviewFunction GetPreview;
GetPictureInfoWFunction GetPictureInfoW;
GetPictureWFunction GetPictureW;
GetPreviewWFunction GetPreviewW;

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

int WINAPI GetPictureInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    return RunExport(kPictureResults, [&] {
        WideInput input(buf, flag);
        return DispatchRequestW({buf, flag}, kSpiUnknownFormat, [&](const PluginEntryPoints& candidate) {
            if (candidate.GetPictureInfoW)
                return candidate.GetPictureInfoW(buf, len, flag, lpInfo);
            LPCSTR ansiBuf = candidate.GetPictureInfo ? input.Ansi() : nullptr;
            if (!ansiBuf)
                return static_cast<int>(kSpiUnknownFormat);
            return candidate.GetPictureInfo(ansiBuf, len, flag, lpInfo);
        });
    });
}

int WINAPI GetPictureW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return RunExport(kPictureResults, [&] {
        return DispatchPictureW(&PluginEntryPoints::GetPictureW, &PluginEntryPoints::GetPicture, kSpiUnknownFormat,
                                buf, len, flag, pHBInfo, pHBm, progressCallback, lData);
    });
}

int WINAPI GetPreviewW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return RunExport(kPreviewResults, [&] {
        return DispatchPictureW(&PluginEntryPoints::GetPreviewW, &PluginEntryPoints::GetPreview, kSpiNotImplemented,
                                buf, len, flag, pHBInfo, pHBm, progressCallback, lData);
    });
}

}  // extern "C"
