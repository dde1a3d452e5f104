// The exports of both builds: identity, support probing and the About dialog.
#include <windows.h>

#include <algorithm>
#include <string>

#include "code_page_text.h"
#include "export_guard.h"
#include "module_set.h"
#include "plugin_binding.h"
#include "plugin_info_table.h"
#include "plugin_interface.h"
#include "registry_library.h"
#include "support_probe.h"

namespace {

// briskspi.dll's About dialog; the caller-cleans convention, unlike the plug-in
// interface. It copies the module set and does not keep the pointer.
using ShowAboutFunction = int(HWND parent, ModuleCatalogue* moduleSet);

int CopyPluginInfo(int infono, LPSTR buf, int buflen)
{
    if (!buf || buflen < 1 || infono < 0)
        return 0;
    const PluginInfoTable& table = pluginInfoTable();
    if (static_cast<unsigned>(infono) >= table.size())
        return 0;
    const char* entry = table[infono];
    // The platform's copy survives a host's bad buffer. The copied length is counted
    // from the entry, not read back from the buffer: under Wine each of these guarded
    // calls costs more than the copy, and a host reads the whole table at its start.
    if (!lstrcpynA(buf, entry, buflen))
        return lstrlenA(buf) + 1;
    int copied = 0;
    while (copied < buflen - 1 && entry[copied] != '\0')
        ++copied;
    // Plus one, so that an empty entry still differs from the end of the table.
    return copied + 1;
}

// The same table and rules in UTF-16 units; a cut keeps surrogate pairs whole.
int CopyPluginInfoW(int infono, LPWSTR buf, int buflen)
{
    if (!buf || buflen < 1 || infono < 0)
        return 0;
    const PluginInfoTable& table = pluginInfoTable();
    if (static_cast<unsigned>(infono) >= table.size())
        return 0;
    const std::wstring text = WideFromAnsi(table[infono]);
    const std::size_t units = WholeUnits(text, static_cast<std::size_t>(buflen) - 1);
    std::copy(text.begin(), text.begin() + units, buf);
    buf[units] = L'\0';
    return static_cast<int>(units) + 1;
}

int ShowAboutDialog(HWND parent, int fnc)
{
    if (fnc != 0 && fnc != 1)
        return kSpiNotImplemented;
    ModuleCatalogue& moduleSet = modules();
    auto* showAbout = FindExport<ShowAboutFunction>(RegistryLibrary(), "ShowAbout");
    if (!showAbout)
        return 0;
    // Other threads may bind records while the dialog is open: it is given a copy made
    // between two bindings, which shares the plug-ins bound so far.
    ModuleCatalogue snapshot = ModuleBindings().Snapshot(moduleSet);
    showAbout(parent, &snapshot);
    return 0;
}

}  // namespace

extern "C" {

GetPluginInfoFunction GetPluginInfo;
IsSupportedFunction IsSupported;
ConfigurationDlgFunction ConfigurationDlg;
GetPluginInfoWFunction GetPluginInfoW;
IsSupportedWFunction IsSupportedW;

int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen)
{
    return RunExport({0, 0}, [&] { return CopyPluginInfo(infono, buf, buflen); });
}

int WINAPI IsSupported(LPCSTR filename, ULONG_PTR dw)
{
    return RunExport({0, 0}, [&] { return ProbeSupport(filename, dw); });
}

int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen)
{
    return RunExport({0, 0}, [&] { return CopyPluginInfoW(infono, buf, buflen); });
}

int WINAPI IsSupportedW(LPCWSTR filename, ULONG_PTR dw)
{
    return RunExport({0, 0}, [&] { return ProbeSupportW(filename, dw); });
}

int WINAPI ConfigurationDlg(HWND parent, int fnc)
{
    return RunExport({kSpiNotImplemented, kSpiNotImplemented}, [&] { return ShowAboutDialog(parent, fnc); });
}

}  // extern "C"
