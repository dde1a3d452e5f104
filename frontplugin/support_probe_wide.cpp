#include <shlwapi.h>

#include <optional>
#include <string>

#include "code_page_text.h"
#include "file_position.h"
#include "front_state.h"
#include "module_set.h"
#include "plugin_binding.h"
#include "probe_result.h"
#include "support_probe.h"
#include "thread_state.h"

namespace {

const std::vector<std::vector<std::wstring>>& WidePatterns(const ModuleCatalogue& moduleSet)
{
    WidePatternState& state = TheWidePatterns();
    state.built.Run([&] {
        std::vector<std::vector<std::wstring>> records;
        for (const PluginModule& record : moduleSet.modules) {
            std::vector<std::wstring> patterns;
            for (const FileFilter& filter : record.filters) {
                for (std::string_view pattern : filter.patterns)
                    patterns.push_back(WideFromAnsi(pattern));
            }
            records.push_back(std::move(patterns));
        }
        state.records = std::move(records);
    });
    return state.records;
}

bool AnyPatternMatches(const std::vector<std::wstring>& patterns, LPCWSTR filename)
{
    for (const std::wstring& pattern : patterns) {
        if (PathMatchSpecW(filename, pattern.c_str()))
            return true;
    }
    return false;
}

// The name ANSI-only plug-ins are asked with, worked out once per probe and only when
// one of them is to be asked.
class AnsiName {
public:
    explicit AnsiName(LPCWSTR name) : name_(name) {}
    const std::optional<std::string>& Get()
    {
        if (!done_) {
            ansi_ = AnsiNameOfFile(name_);
            done_ = true;
        }
        return ansi_;
    }

private:
    LPCWSTR name_;  // not owned: the host's name, valid for the probe
    bool done_ = false;
    std::optional<std::string> ansi_;
};

}  // namespace

int ProbeSupportW(LPCWSTR filename, ULONG_PTR dw)
{
    if (!filename)
        return 0;
    const std::vector<std::vector<std::wstring>>& patterns = WidePatterns(modules());
    RecordBindings& bindings = ModuleBindings();
    ThreadState& thread = *ThisThreadState();
    if (thread.lastRejectedWideName == filename)
        return 0;
    std::shared_ptr<ProbeResult> probe = NewProbe(thread);
    AssignText(probe->wideName, filename);
    probe->name = AnsiFromWide(filename);
    AnsiName ansiName(filename);
    std::optional<FilePosition> hostPosition;
    for (std::size_t index = 0; index < bindings.Count(); ++index) {
        if (!AnyPatternMatches(patterns[index], filename))
            continue;
        const PluginEntryPoints& entryPoints = bindings.EntryPoints(index);
        const bool wide = entryPoints.IsSupportedW != nullptr;
        if (!wide && (!entryPoints.IsSupported || !ansiName.Get()))
            continue;
        if (hostPosition)
            hostPosition->Restore();
        else
            hostPosition.emplace(dw);
        const int answer = wide ? entryPoints.IsSupportedW(filename, dw)
                                : entryPoints.IsSupported(ansiName.Get()->c_str(), dw);
        if (answer != 0)
            probe->candidates.push_back(&entryPoints);
    }
    const bool accepted = !probe->candidates.empty();
    PublishProbe(thread, std::move(probe));
    if (accepted)
        return 1;
    if (NoChannelFailedSinceLastAsked(thread))
        thread.lastRejectedWideName = filename;
    return 0;
}
