#include "plugin_exports.h"

#include <string>

int AnswerPluginInfo(const char* const* table, int count, int infono, LPSTR buf, int buflen)
{
    if (infono < 0 || infono >= count || !buf || buflen < 1)
        return 0;
    lstrcpynA(buf, table[infono], buflen);
    return lstrlenA(buf);
}

int AnswerPluginInfoW(const char* const* table, int count, int infono, LPWSTR buf, int buflen)
{
    if (infono < 0 || infono >= count || !buf || buflen < 1)
        return 0;
    // The tables are plain ASCII, so a cut cannot split a character.
    const int units = MultiByteToWideChar(CP_ACP, 0, table[infono], -1, nullptr, 0);
    std::wstring text(units > 0 ? units : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, table[infono], -1, &text[0], units);
    lstrcpynW(buf, text.c_str(), buflen);
    return lstrlenW(buf);
}

int AnswerConfigurationDlg(HWND parent, int fnc, const char* aboutText)
{
    if (fnc != 0)
        return kSpiNotImplemented;
    MessageBoxA(parent, aboutText, "About", MB_OK | MB_ICONINFORMATION);
    return kSpiSuccess;
}
