#include "plugin_exports.h"

int AnswerPluginInfo(const char* const* table, int count, int infono, LPSTR buf, int buflen)
{
    if (infono < 0 || infono >= count || !buf || buflen < 1)
        return 0;
    lstrcpynA(buf, table[infono], buflen);
    return lstrlenA(buf);
}

int AnswerConfigurationDlg(HWND parent, int fnc, const char* aboutText)
{
    if (fnc != 0)
        return kSpiNotImplemented;
    MessageBoxA(parent, aboutText, "About", MB_OK | MB_ICONINFORMATION);
    return kSpiSuccess;
}
