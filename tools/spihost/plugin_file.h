#pragma once

// One Susie plug-in loaded by spihost, with what it says about itself. The library
// stays loaded while this object lives.
#include <string>
#include <utility>
#include <vector>

#include "host_failure.h"
#include "plugin_binding.h"

class PluginFile {
public:
    // Loads the plug-in; throws HostFailure (cannot load) saying why not.
    explicit PluginFile(const std::string& path);
    PluginFile(const PluginFile&) = delete;
    PluginFile& operator=(const PluginFile&) = delete;

    const std::string& Path() const { return path_; }
    // The file name alone, for messages.
    std::string Label() const;
    const PluginEntryPoints& EntryPoints() const { return entryPoints_; }

    const std::string& Version() const { return version_; }
    const std::string& Name() const { return name_; }
    // Patterns and description of each filter.
    const std::vector<std::pair<std::string, std::string>>& Filters() const { return filters_; }
    bool IsImageFilter() const;
    bool IsArchiveExtractor() const;
    // "image import filter", "archive extractor" or "unknown kind".
    std::string KindText() const;

    // The entry point, or HostFailure (cannot load) when the plug-in lacks it.
    template <class Function>
    Function* Need(Function* entryPoint, const char* name) const
    {
        if (!entryPoint)
            throw HostFailure{kHostCannotLoad, Label() + " does not export " + name};
        return entryPoint;
    }

private:
    std::string path_;
    PluginEntryPoints entryPoints_;
    std::string version_;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> filters_;
};

// Why LoadLibraryA failed for `path` with `error`, in words a user can act on.
std::string ExplainLoadFailure(const std::string& path, DWORD error);
