#include "support_probe.h"

#include <shlwapi.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "code_page_text.h"
#include "file_position.h"
#include "front_state.h"
#include "module_set.h"
#include "pattern_prefilter.h"
#include "plugin_binding.h"

namespace {

// A pattern is a view into its list's joined text: the last one is followed by the
// text's zero byte, the others by a ";" that the platform would take as a separator.
bool PatternMatches(LPCSTR filename, std::string_view pattern)
{
    if (pattern.data()[pattern.size()] == '\0')
        return PathMatchSpecA(filename, pattern.data());
    char copy[128];
    if (pattern.size() < sizeof copy) {
        std::memcpy(copy, pattern.data(), pattern.size());
        copy[pattern.size()] = '\0';
        return PathMatchSpecA(filename, copy);
    }
    return PathMatchSpecA(filename, std::string(pattern).c_str());
}

// Only the first matching pattern counts: a record is asked at most once per probe.
// The platform's match costs about a microsecond; most patterns are ruled out by their
// last character first.
bool AnyPatternMatches(const PluginModule& record, LPCSTR filename, char filenameEnd)
{
    for (const FileFilter& filter : record.filters) {
        for (std::string_view pattern : filter.patterns) {
            if (ListPatternRulesOut(filenameEnd, pattern))
                continue;
            if (PatternMatches(filename, pattern))
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
    LastProbedName() = filename;
    LastProbedWideName() = WideFromAnsi(filename);
    const char filenameEnd = *filename ? filename[std::strlen(filename) - 1] : '\0';
    // Taken just before the first plug-in reads the host's file, if it is one.
    std::optional<FilePosition> hostPosition;
    for (auto record = moduleSet.modules.begin(); record != moduleSet.modules.end(); ++record) {
        if (!AnyPatternMatches(*record, filename, filenameEnd))
            continue;
        IsSupportedFunction* isSupported = GetEntryPoints(*record)->IsSupported;
        if (!isSupported)
            continue;
        if (hostPosition)
            hostPosition->Restore();
        else
            hostPosition.emplace(dw);
        if (isSupported(filename, dw) != 0)
            moduleSet.candidates.push_back(record);
    }
    if (!moduleSet.candidates.empty())
        return 1;
    lastRejectedName = filename;
    return 0;
}
