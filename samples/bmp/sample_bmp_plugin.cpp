// SampleBmp.spi: an image import filter ("00IN") for uncompressed Windows bitmaps
// of 1, 4, 8, 24 and 32 bits per pixel, stored bottom-up or top-down, read from a
// file (at an offset) or from a memory image. It hands pictures to the host as a
// movable LocalAlloc'd BITMAPINFO (header and full palette) and bottom-up bits. It
// also has the W entry points, which take UTF-16 file names.
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bmp_pixels.h"
#include "local_block.h"
#include "plugin_exports.h"
#include "plugin_input.h"

namespace {

HMODULE ownModule = nullptr;

const char* const kPluginInfo[] = {
    "00IN",
    "BriskSPI sample bitmap reader 1.0",
    "*.bmp;*.dib",
    "Windows bitmap (uncompressed)",
};

const char kAboutText[] =
    "BriskSPI sample bitmap reader 1.0\n\n"
    "Reads uncompressed Windows bitmaps (1, 4, 8, 24 and 32 bits per pixel).\n"
    "A sample plug-in that comes with BriskSPI.";

int ResultOf(BmpCheck check)
{
    switch (check) {
    case BmpCheck::kOk:
        return kSpiSuccess;
    case BmpCheck::kBroken:
        return kSpiBrokenData;
    default:
        return kSpiUnknownFormat;
    }
}

template <class Char>
int OpenBitmap(const Char* buf, LONG_PTR len, unsigned int flag, std::unique_ptr<ByteSource>& file, BmpLayout& layout)
{
    int result = OpenPluginInput(buf, len, flag, file);
    if (result != kSpiSuccess)
        return result;
    unsigned char head[kBmpHeadBytes];
    std::size_t size = file->Size() < sizeof head ? static_cast<std::size_t>(file->Size()) : sizeof head;
    if (!file->Read(0, head, size))
        return kSpiReadError;
    return ResultOf(ReadBmpLayout(head, size, file->Size(), layout));
}

std::string OwnFileName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(ownModule, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    return name ? name + 1 : path;
}

// The picture's text information: what was read, and by whom.
HLOCAL DescribeBitmap(const BmpLayout& layout)
{
    char text[256];
    std::snprintf(text, sizeof text, "Windows bitmap, %u bits per pixel, stored %s; read by %s",
                  static_cast<unsigned>(layout.bitsPerPixel), layout.topDown ? "top-down" : "bottom-up",
                  OwnFileName().c_str());
    LocalBlock block(std::strlen(text) + 1);
    if (!block.Data())
        return nullptr;
    std::memcpy(block.Data(), text, std::strlen(text) + 1);
    return block.Release();
}

WORD DotsPerInch(std::int32_t pixelsPerMeter)
{
    if (pixelsPerMeter <= 0)
        return 0;
    long long dpi = (static_cast<long long>(pixelsPerMeter) * 254 + 5000) / 10000;
    return static_cast<WORD>(dpi > 0xFFFF ? 0xFFFF : dpi);
}

template <class Char>
int PictureInfo(const Char* buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    if (!lpInfo)
        return kSpiMemoryError;
    std::unique_ptr<ByteSource> file;
    BmpLayout layout;
    int result = OpenBitmap(buf, len, flag, file, layout);
    if (result != kSpiSuccess)
        return result;
    std::memset(lpInfo, 0, sizeof *lpInfo);
    lpInfo->width = layout.width;
    lpInfo->height = layout.height;
    lpInfo->xDensity = DotsPerInch(layout.xPixelsPerMeter);
    lpInfo->yDensity = DotsPerInch(layout.yPixelsPerMeter);
    lpInfo->colorDepth = static_cast<SHORT>(layout.bitsPerPixel);
    lpInfo->hInfo = DescribeBitmap(layout);
    return kSpiSuccess;
}

template <class Char>
int Picture(const Char* buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
            SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    if (!pHBInfo || !pHBm)
        return kSpiMemoryError;
    std::unique_ptr<ByteSource> file;
    BmpLayout layout;
    int result = OpenBitmap(buf, len, flag, file, layout);
    if (result != kSpiSuccess)
        return result;
    if (DibBitsSize(layout) > SIZE_MAX)
        return kSpiOutOfMemory;
    LocalBlock info(DibInfoSize(layout));
    LocalBlock bits(static_cast<std::size_t>(DibBitsSize(layout)));
    if (!info.Data() || !bits.Data())
        return kSpiOutOfMemory;
    if (!ReadDibInfo(*file, layout, info.Data()))
        return kSpiReadError;
    RowProgress progress;
    if (progressCallback)
        progress = [&](std::int32_t done, std::int32_t total) { return progressCallback(done, total, lData) != 0; };
    switch (ReadDibBits(*file, layout, bits.Data(), progress)) {
    case PixelRead::kCancelled:
        return kSpiCancelled;
    case PixelRead::kReadFailed:
        return kSpiReadError;
    case PixelRead::kDone:
        break;
    }
    *pHBInfo = info.Release();
    *pHBm = bits.Release();
    return kSpiSuccess;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ownModule = instance;
    return TRUE;
}

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    return GuardExport([&] { return AnswerPluginInfo(kPluginInfo, 4, infono, buf, buflen); });
}

int WINAPI IsSupported(LPCSTR, ULONG_PTR dw)
{
    return GuardExport([&] {
        unsigned char head[kBmpHeadBytes] = {};
        std::size_t size = ReadSupportHead(dw, head, sizeof head);
        BmpLayout layout;
        return ReadBmpLayout(head, size, 0, layout) == BmpCheck::kOk ? 1 : 0;
    });
}

int WINAPI GetPictureInfo(LPCSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    return GuardExport([&] { return PictureInfo(buf, len, flag, lpInfo); });
}

int WINAPI GetPicture(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return GuardExport([&] { return Picture(buf, len, flag, pHBInfo, pHBm, progressCallback, lData); });
}

// Bitmaps are cheap to read whole, so the preview is the picture itself.
int WINAPI GetPreview(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                      SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return GuardExport([&] { return Picture(buf, len, flag, pHBInfo, pHBm, progressCallback, lData); });
}

int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen)
{
    return GuardExport([&] { return AnswerPluginInfoW(kPluginInfo, 4, infono, buf, buflen); });
}

// Like IsSupported, it looks only at the file's first bytes.
int WINAPI IsSupportedW(LPCWSTR, ULONG_PTR dw)
{
    return IsSupported(nullptr, dw);
}

int WINAPI GetPictureInfoW(LPCWSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo)
{
    return GuardExport([&] { return PictureInfo(buf, len, flag, lpInfo); });
}

int WINAPI GetPictureW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return GuardExport([&] { return Picture(buf, len, flag, pHBInfo, pHBm, progressCallback, lData); });
}

int WINAPI GetPreviewW(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo, HLOCAL* pHBm,
                       SpiProgressCallback* progressCallback, LONG_PTR lData)
{
    return GuardExport([&] { return Picture(buf, len, flag, pHBInfo, pHBm, progressCallback, lData); });
}

int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    return GuardExport([&] { return AnswerConfigurationDlg(parent, fnc, kAboutText); });
}

}  // extern "C"
