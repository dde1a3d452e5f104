#include "catalogue_report.h"

#include "bridged_plugin_file.h"

#include <shlwapi.h>

#include <cstdio>
#include <fstream>
#include <list>
#include <optional>

#include "catalogue_reader.h"
#include "catalogue_location.h"
#include "code_page_text.h"
#include "host_files.h"
#include "host_text.h"
#include "module_path.h"
#include "set_names.h"

namespace {

// The name as the front plug-in was given it, and as it hands it on: the wide name
// to W entry points, the ANSI name (or short name) to the others.
struct AskedName {
    bool wide;
    std::wstring wideName;
    std::optional<std::string> ansiName;
};

std::string FirstMatch(const PluginModule& module, const AskedName& name)
{
    for (const FileFilter& filter : module.filters) {
        for (std::string_view pattern : filter.patterns) {
            bool matches = name.wide ? PathMatchSpecW(name.wideName.c_str(), WideFromAnsi(pattern).c_str())
                                     : PathMatchSpecA(name.ansiName->c_str(), std::string(pattern).c_str());
            if (matches)
                return Utf8FromAnsi(pattern);
        }
    }
    return std::string();
}

std::string AllPatterns(const PluginModule& module)
{
    std::string all;
    for (const FileFilter& filter : module.filters) {
        for (std::string_view pattern : filter.patterns)
            all += (all.empty() ? "" : ";") + Utf8FromAnsi(pattern);
    }
    return all.empty() ? "none" : all;
}

// Asks one catalogued plug-in, loaded from its path exactly as the catalogue has it.
std::string AskCatalogued(const PluginModule& module, const AskedName& name, const SupportProbe& probe,
                          bool& accepted)
{
    accepted = false;
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(module.path.c_str());
    DWORD error = GetLastError();
    SetErrorMode(oldMode);
    PluginEntryPoints entryPoints;
    std::string call = "IsSupported";
    if (library)
        entryPoints = ResolveEntryPoints(SharedRef<HMODULE>(new PluginLibrary(library)));
    else if (error == ERROR_BAD_EXE_FORMAT && BindThroughBridge(std::string(module.path), entryPoints))
        call = "bridged (" BRISK_BRIDGED_WIDTH ", served by " BRISK_BRIDGE_PROGRAM "): IsSupported";
    else {
        std::string why = "cannot be loaded: " + ExplainLoadFailure(Utf8FromAnsi(module.path), error);
        if (!IsAbsolutePath(std::string(module.path)))
            why += "; the path is relative, and Windows does not look beside the catalogue";
        return why;
    }
    int answer = 0;
    if (name.wide && entryPoints.IsSupportedW) {
        answer = entryPoints.IsSupportedW(name.wideName.c_str(), probe.Argument());
        call += "W";
    } else if (!entryPoints.IsSupported) {
        return "exports no IsSupported, so it is never asked";
    } else {
        std::optional<std::string> ansi = name.wide ? AnsiNameOfFile(name.wideName) : name.ansiName;
        if (!ansi)
            return "has no W entry points, and the file's name has neither an ANSI form nor a short name, so it "
                   "cannot be asked";
        answer = entryPoints.IsSupported(ansi->c_str(), probe.Argument());
        if (name.wide && !AnsiFromWide(name.wideName))
            call += ", given the short name " + Utf8FromAnsi(*ansi) + ",";
    }
    accepted = answer != 0;
    return call + (accepted ? " says yes" : " says no");
}

}  // namespace

std::string ReportCatalogue(const PluginFile& front, const std::string& fileName, const SupportProbe& probe)
{
    std::string folder = FolderOf(front.Path());
    bool haveRegistry = FileExists(folder + BRISK_REGISTRY_LIBRARY);
    // The registry library finds its catalogue by its own ANSI path.
    std::optional<std::string> ansiFolder = AnsiNameOfFile(WideFromUtf8(folder));
    std::string ansiCataloguePath = ansiFolder ? CataloguePathIn(*ansiFolder, GetCommandLineA()) : std::string();
    std::string cataloguePath = Utf8FromAnsi(ansiCataloguePath);
    bool haveCatalogue = ansiFolder && FileExists(cataloguePath);
    if (!haveRegistry && !haveCatalogue)
        return std::string();
    if (!haveRegistry)
        std::printf("  note: " BRISK_REGISTRY_LIBRARY " is not beside %s: a front plug-in then offers no plug-in at all\n",
                    front.Label().c_str());
    if (!ansiFolder) {
        std::printf("  note: the ANSI code page cannot write the folder %s and it has no short name: the registry "
                    "library there finds no catalogue\n",
                    folder.c_str());
        return std::string();
    }
    if (!haveCatalogue) {
        std::printf("  note: no catalogue %s: the front plug-in offers no plug-in; make one with " BRISK_SPILIST_PROGRAM "\n",
                    cataloguePath.c_str());
        return std::string();
    }
    AskedName name;
    name.wide = front.UsesWide(reinterpret_cast<const void*>(front.EntryPoints().IsSupportedW));
    name.wideName = WideFromUtf8(fileName);
    if (!name.wide)
        name.ansiName = AnsiFileName(fileName);
    std::ifstream file(ansiCataloguePath, std::ios::in | std::ios::binary);
    std::list<PluginModule> modules = ReadCatalogue(file);
    int ofVersion = 0;
    for (const PluginModule& module : modules)
        ofVersion += Utf8FromAnsi(module.version) == front.Version();
    std::printf("  catalogue %s: %d record%s, %d of version %s\n", cataloguePath.c_str(),
                static_cast<int>(modules.size()), modules.size() == 1 ? "" : "s", ofVersion,
                front.Version().c_str());
    std::string accepting;
    for (const PluginModule& module : modules) {
        if (Utf8FromAnsi(module.version) != front.Version())
            continue;
        std::string path = Utf8FromAnsi(module.path);
        std::string pattern = FirstMatch(module, name);
        if (pattern.empty()) {
            std::printf("    %s: no pattern matches (%s)\n", path.c_str(), AllPatterns(module).c_str());
            continue;
        }
        bool accepted = false;
        std::string answer = AskCatalogued(module, name, probe, accepted);
        std::printf("    %s: %s matches; %s\n", path.c_str(), pattern.c_str(), answer.c_str());
        if (accepted)
            accepting += (accepting.empty() ? "" : ", ") + path.substr(path.find_last_of("\\/") + 1);
    }
    return accepting;
}
