#include "support_probe.h"

#include <shlwapi.h>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "code_page_text.h"
#include "file_position.h"
#include "module_set.h"
#include "pattern_prefilter.h"
#include "plugin_binding.h"
#include "probe_result.h"
#include "thread_state.h"

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
    RecordBindings& bindings = ModuleBindings();
    ThreadState& thread = *ThisThreadState();
    if (thread.lastRejectedName == filename)
        return 0;
    std::shared_ptr<ProbeResult> probe = NewProbe(thread);
    AssignText(probe->name, filename);
    probe->wideName = WideFromAnsi(filename);
    const char filenameEnd = *filename ? filename[std::strlen(filename) - 1] : '\0';
    // Taken just before the first plug-in reads the host's file, if it is one.
    std::optional<FilePosition> hostPosition;
    for (std::size_t index = 0; index < bindings.Count(); ++index) {
        if (!AnyPatternMatches(bindings.Record(index), filename, filenameEnd))
            continue;
        const PluginEntryPoints& entryPoints = bindings.EntryPoints(index);
        if (!entryPoints.IsSupported)
            continue;
        if (hostPosition)
            hostPosition->Restore();
        else
            hostPosition.emplace(dw);
        if (entryPoints.IsSupported(filename, dw) != 0)
            probe->candidates.push_back(&entryPoints);
    }
    const bool accepted = !probe->candidates.empty();
    PublishProbe(thread, std::move(probe));
    if (accepted)
        return 1;
    if (NoChannelFailedSinceLastAsked(thread))
        thread.lastRejectedName = filename;
    return 0;
}
