// noop.spi: an image plug-in ("00IN") that does as little as a plug-in can, for
// measuring what the front plug-in adds to a call and what loading many plug-ins
// costs. Its patterns come from its file name (noop_naming.h), so each copy under a
// new name is a distinct plug-in without a configuration file. It decodes nothing:
// GetPicture succeeds with null handles. NoopCallCount reports how often any of its
// plug-in entry points was called, so a benchmark can prove a call never reached it.
#include <string>

#include "noop_naming.h"
#include "plugin_interface.h"

namespace {

HMODULE ownModule = nullptr;
long callCount = 0;

const std::string& Stem()
{
    static const std::string stem = [] {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(ownModule, path, MAX_PATH);
        return NoopStem(path);
    }();
    return stem;
}

int AnswerText(const std::string& text, LPSTR buf, int buflen)
{
    if (!buf || buflen < 1)
        return 0;
    lstrcpynA(buf, text.c_str(), buflen);
    return lstrlenA(buf);
}

// Nothing thrown may reach the caller; a failure reads as the interface's code.
template <class Body>
int Guarded(int failed, Body body) noexcept
{
    try {
        ++callCount;
        return body();
    } catch (...) {
        return failed;
    }
}

// Success with nothing decoded: the host gets null handles.
int NoPicture(HLOCAL* pHBInfo, HLOCAL* pHBm)
{
    if (pHBInfo)
        *pHBInfo = nullptr;
    if (pHBm)
        *pHBm = nullptr;
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
    return Guarded(0, [&] {
        switch (infono) {
        case 0:
            return AnswerText("00IN", buf, buflen);
        case 1:
            return AnswerText("No-op benchmark plug-in " + Stem(), buf, buflen);
        case 2:
            return AnswerText(NoopPatternList(Stem()), buf, buflen);
        case 3:
            return AnswerText(NoopDescription(Stem()), buf, buflen);
        default:
            return 0;
        }
    });
}

int WINAPI IsSupported(LPCSTR filename, ULONG_PTR)
{
    return Guarded(0, [&] { return filename && NoopAccepts(Stem(), filename) ? 1 : 0; });
}

int WINAPI GetPictureInfo(LPCSTR, LONG_PTR, unsigned int, SpiPictureInfo* lpInfo)
{
    return Guarded(kSpiInternalError, [&] {
        if (lpInfo)
            *lpInfo = SpiPictureInfo{};
        return kSpiSuccess;
    });
}

int WINAPI GetPicture(LPCSTR, LONG_PTR, unsigned int, HLOCAL* pHBInfo, HLOCAL* pHBm, SpiProgressCallback*, LONG_PTR)
{
    return Guarded(kSpiInternalError, [&] { return NoPicture(pHBInfo, pHBm); });
}

int WINAPI GetPreview(LPCSTR, LONG_PTR, unsigned int, HLOCAL* pHBInfo, HLOCAL* pHBm, SpiProgressCallback*, LONG_PTR)
{
    return Guarded(kSpiInternalError, [&] { return NoPicture(pHBInfo, pHBm); });
}

long WINAPI NoopCallCount()
{
    return callCount;
}

}  // extern "C"
