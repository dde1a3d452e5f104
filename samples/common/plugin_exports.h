#pragma once

// What the sample plug-ins' exports share: the information table answer, the
// About box, and the guard that keeps every exception inside the export.
#include <new>

#include "plugin_interface.h"

// Answers GetPluginInfo from a table of `count` texts: the number of bytes copied
// (cut to `buflen` - 1), or 0 when `infono` is outside the table.
int AnswerPluginInfo(const char* const* table, int count, int infono, LPSTR buf, int buflen);
// The same in UTF-16 units, for GetPluginInfoW.
int AnswerPluginInfoW(const char* const* table, int count, int infono, LPWSTR buf, int buflen);

// ConfigurationDlg of a sample plug-in: an About box for `fnc` 0, -1 for the rest.
int AnswerConfigurationDlg(HWND parent, int fnc, const char* aboutText);

// Runs an export's body; whatever it throws ends as the interface's out-of-memory
// or internal-error code instead of crossing into the host.
template <class Body>
int GuardExport(Body body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return kSpiOutOfMemory;
    } catch (...) {
        return kSpiInternalError;
    }
}
