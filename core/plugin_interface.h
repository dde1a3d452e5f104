#pragma once

// The Susie plug-in interface as this system calls and exports it: 32-bit results,
// the standard-call convention, and the information records that only the host and
// the catalogued plug-ins look into. Widths follow the pointer size, which on the
// interface's 32-bit platform are the interface's DWORD and LONG; on x64 the records
// take the layouts 64-bit plug-ins use (padding included).
#include <windows.h>

#include <cstddef>

// Result codes of the picture and archive calls.
enum SpiResult : int {
    kSpiNotImplemented = -1,
    kSpiSuccess = 0,
    kSpiCancelled = 1,
    kSpiUnknownFormat = 2,
    kSpiBrokenData = 3,
    kSpiOutOfMemory = 4,
    kSpiMemoryError = 5,
    kSpiReadError = 6,
    kSpiInternalError = 8,
};

// Low three bits of `flag`: where the input is.
constexpr unsigned int kSpiInputMask = 7;
constexpr unsigned int kSpiInputFile = 0;
constexpr unsigned int kSpiInputMemory = 1;
// Bits 8-10 of `flag` for GetFile: where the output goes.
constexpr unsigned int kSpiOutputMask = 0x700;
constexpr unsigned int kSpiOutputFile = 0x000;
constexpr unsigned int kSpiOutputMemory = 0x100;

#pragma pack(push, 1)
struct SpiPictureInfo {
    LONG left;
    LONG top;
    LONG width;
    LONG height;
    WORD xDensity;
    WORD yDensity;
    SHORT colorDepth;
#if defined(_WIN64)
    WORD padding;  // 64-bit plug-ins keep hInfo at offset 24 (some were built without it)
#endif
    HLOCAL hInfo;  // text information, LocalAlloc'd by the plug-in, or null
};
static_assert(sizeof(SpiPictureInfo) == (sizeof(void*) == 8 ? 32 : 26), "the interface's picture record");

struct SpiFileInfo {
    unsigned char method[8];
    ULONG_PTR position;
    ULONG_PTR compressedSize;
    ULONG_PTR fileSize;
    LONG_PTR timestamp;  // seconds since 1970: 32 bits on x86, 64 on x64
    char path[200];
    char fileName[200];
    ULONG crc;
#if defined(_WIN64)
    ULONG padding;
#endif
};
static_assert(sizeof(SpiFileInfo) == (sizeof(void*) == 8 ? 448 : 428), "the interface's archive entry record");

// The entry record of the W entry points: the same fields with UTF-16 names.
struct SpiFileInfoW {
    unsigned char method[8];
    ULONG_PTR position;
    ULONG_PTR compressedSize;
    ULONG_PTR fileSize;
    LONG_PTR timestamp;
    WCHAR path[200];
    WCHAR fileName[200];
    ULONG crc;
#if defined(_WIN64)
    ULONG padding;  // as in SpiFileInfo: x64 hosts step through tables by 848 bytes
#endif
};
static_assert(sizeof(SpiFileInfoW) == (sizeof(void*) == 8 ? 848 : 828), "the interface's wide archive entry record");
#pragma pack(pop)

// The archive entry records without the padding x64 records end in: some x64
// plug-ins hand out tables in these steps (the same as the records on x86).
constexpr std::size_t kFileInfoFieldsSize = offsetof(SpiFileInfo, crc) + sizeof(ULONG);
constexpr std::size_t kFileInfoWFieldsSize = offsetof(SpiFileInfoW, crc) + sizeof(ULONG);

typedef int(WINAPI SpiProgressCallback)(int done, int total, LONG_PTR data);

typedef int(WINAPI GetPluginInfoFunction)(int infono, LPSTR buf, int buflen);
typedef int(WINAPI IsSupportedFunction)(LPCSTR filename, ULONG_PTR dw);
typedef int(WINAPI GetPictureInfoFunction)(LPCSTR buf, LONG_PTR len, unsigned int flag,
                                           SpiPictureInfo* lpInfo);
typedef int(WINAPI GetPictureFunction)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                       HLOCAL* pHBm, SpiProgressCallback* progressCallback,
                                       LONG_PTR lData);
typedef GetPictureFunction GetPreviewFunction;
typedef int(WINAPI GetArchiveInfoFunction)(LPCSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf);
typedef int(WINAPI GetFileInfoFunction)(LPCSTR buf, LONG_PTR len, LPCSTR entryName, unsigned int flag,
                                        SpiFileInfo* lpInfo);
typedef int(WINAPI GetFileFunction)(LPCSTR buf, LONG_PTR len, LPSTR dest, unsigned int flag,
                                    SpiProgressCallback* progressCallback, LONG_PTR lData);
typedef int(WINAPI ConfigurationDlgFunction)(HWND parent, int fnc);

// The W entry points: names are UTF-16; `buflen` and GetPluginInfoW's result count
// UTF-16 units. A memory image in `buf` and an output handle pointer in `dest` are the
// same pointers as in the ANSI calls.
typedef int(WINAPI GetPluginInfoWFunction)(int infono, LPWSTR buf, int buflen);
typedef int(WINAPI IsSupportedWFunction)(LPCWSTR filename, ULONG_PTR dw);
typedef int(WINAPI GetPictureInfoWFunction)(LPCWSTR buf, LONG_PTR len, unsigned int flag, SpiPictureInfo* lpInfo);
typedef int(WINAPI GetPictureWFunction)(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* pHBInfo,
                                        HLOCAL* pHBm, SpiProgressCallback* progressCallback, LONG_PTR lData);
typedef GetPictureWFunction GetPreviewWFunction;
typedef int(WINAPI GetArchiveInfoWFunction)(LPCWSTR buf, LONG_PTR len, unsigned int flag, HLOCAL* lphInf);
typedef int(WINAPI GetFileInfoWFunction)(LPCWSTR buf, LONG_PTR len, LPCWSTR entryName, unsigned int flag,
                                         SpiFileInfoW* lpInfo);
typedef int(WINAPI GetFileWFunction)(LPCWSTR buf, LONG_PTR len, LPWSTR dest, unsigned int flag,
                                     SpiProgressCallback* progressCallback, LONG_PTR lData);
