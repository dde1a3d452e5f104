#include "support_probe.h"

#include <shlwapi.h>

#include "front_state.h"
#include "module_set.h"
#include "plugin_binding.h"

namespace {

// Only the first matching pattern counts: a record is asked at most once per probe.
bool AnyPatternMatches(const PluginModule& record, LPCSTR filename)
{
    for (const FileFilter& filter : record.filters) {
        for (const std::string& pattern : filter.patterns) {
            if (PathMatchSpecA(filename, pattern.c_str()))
                return true;
        }
    }
    return false;
}

}  // namespace

int ProbeSupport(LPCSTR filename, ULONG_PTR dw)
{
    // A host's null name is nobody's file; it must not disturb the last probe's result.
    if (!filename)
        return 0;
    ModuleCatalogue& moduleSet = modules();
    std::string& lastRejectedName = LastRejectedName();
    if (lastRejectedName == filename)
        return 0;
    moduleSet.candidates.clear();
    for (auto record = moduleSet.modules.begin(); record != moduleSet.modules.end(); ++record) {
        if (!AnyPatternMatches(*record, filename))
            continue;
        IsSupportedFunction* isSupported = GetEntryPoints(*record)->IsSupported;
        if (isSupported && isSupported(filename, dw) != 0)
            moduleSet.candidates.push_back(record);
    }
    if (!moduleSet.candidates.empty())
        return 1;
    lastRejectedName = filename;
    return 0;
}
