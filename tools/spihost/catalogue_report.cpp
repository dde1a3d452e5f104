#include "catalogue_report.h"

#include <shlwapi.h>

#include <cstdio>
#include <fstream>
#include <list>

#include "catalogue_reader.h"
#include "catalogue_location.h"
#include "host_files.h"
#include "module_path.h"
#include "set_names.h"

namespace {

std::string FirstMatch(const PluginModule& module, const std::string& fileName)
{
    for (const FileFilter& filter : module.filters) {
        for (const std::string& pattern : filter.patterns) {
            if (PathMatchSpecA(fileName.c_str(), pattern.c_str()))
                return pattern;
        }
    }
    return std::string();
}

std::string AllPatterns(const PluginModule& module)
{
    std::string all;
    for (const FileFilter& filter : module.filters) {
        for (const std::string& pattern : filter.patterns)
            all += (all.empty() ? "" : ";") + pattern;
    }
    return all.empty() ? "none" : all;
}

// Asks one catalogued plug-in, loaded from its path exactly as the catalogue has it.
std::string AskCatalogued(const PluginModule& module, const std::string& fileName, const SupportProbe& probe,
                          bool& accepted)
{
    accepted = false;
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(module.path.c_str());
    DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!library) {
        std::string why = "cannot be loaded: " + ExplainLoadFailure(module.path, error);
        if (!IsAbsolutePath(module.path))
            why += "; the path is relative, and Windows does not look beside the catalogue";
        return why;
    }
    PluginEntryPoints entryPoints = ResolveEntryPoints(SharedRef<HMODULE>(new PluginLibrary(library)));
    if (!entryPoints.IsSupported)
        return "exports no IsSupported, so it is never asked";
    int answer = entryPoints.IsSupported(fileName.c_str(), probe.Argument());
    accepted = answer != 0;
    return accepted ? "IsSupported says yes" : "IsSupported says no";
}

}  // namespace

std::string ReportCatalogue(const PluginFile& front, const std::string& fileName, const SupportProbe& probe)
{
    std::string folder = FolderOf(front.Path());
    std::string cataloguePath = CataloguePathIn(folder, GetCommandLineA());
    bool haveRegistry = FileExists(folder + BRISK_REGISTRY_LIBRARY);
    bool haveCatalogue = FileExists(cataloguePath);
    if (!haveRegistry && !haveCatalogue)
        return std::string();
    if (!haveRegistry)
        std::printf("  note: " BRISK_REGISTRY_LIBRARY " is not beside %s: a front plug-in then offers no plug-in at all\n",
                    front.Label().c_str());
    if (!haveCatalogue) {
        std::printf("  note: no catalogue %s: the front plug-in offers no plug-in; make one with " BRISK_SPILIST_PROGRAM "\n",
                    cataloguePath.c_str());
        return std::string();
    }
    std::ifstream file(cataloguePath, std::ios::in | std::ios::binary);
    std::list<PluginModule> modules = ReadCatalogue(file);
    int ofVersion = 0;
    for (const PluginModule& module : modules)
        ofVersion += module.version == front.Version();
    std::printf("  catalogue %s: %d record%s, %d of version %s\n", cataloguePath.c_str(),
                static_cast<int>(modules.size()), modules.size() == 1 ? "" : "s", ofVersion,
                front.Version().c_str());
    std::string accepting;
    for (const PluginModule& module : modules) {
        if (module.version != front.Version())
            continue;
        std::string pattern = FirstMatch(module, fileName);
        if (pattern.empty()) {
            std::printf("    %s: no pattern matches (%s)\n", module.path.c_str(), AllPatterns(module).c_str());
            continue;
        }
        bool accepted = false;
        std::string answer = AskCatalogued(module, fileName, probe, accepted);
        std::printf("    %s: %s matches; %s\n", module.path.c_str(), pattern.c_str(), answer.c_str());
        if (accepted)
            accepting += (accepting.empty() ? "" : ", ") + module.path.substr(module.path.find_last_of("\\/") + 1);
    }
    return accepting;
}
