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
    // Loads the plug-in; throws HostFailure (cannot load) saying why not. With
    // `ansiOnly` spihost never calls a W entry point of it.
    explicit PluginFile(const std::string& path, bool ansiOnly = false);
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

    // Whether spihost calls the W entry point `wide` rather than its ANSI twin: when
    // the plug-in exports it, as hosts choose, unless told to use ANSI.
    bool UsesWide(const void* wide) const { return wide && !ansiOnly_; }

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
    bool ansiOnly_;
    PluginEntryPoints entryPoints_;
    std::string version_;
    std::string name_;
    std::vector<std::pair<std::string, std::string>> filters_;
};

// Why loading the library failed for `path` with `error`, in words a user can act on.
std::string ExplainLoadFailure(const std::string& path, DWORD error);
