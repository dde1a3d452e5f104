// Loads briskspi.dll from its own folder, as a host process would through a front
// plug-in, and prints the catalogue it gets: one line per module,
// "path|version|name|flag|patterns=description|...". Its command line is the host
// command line that the registry library reads.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "module_catalogue.h"
#include "module_path.h"
#include "plugin_binding.h"
#include "set_names.h"

int main()
{
    _setmode(_fileno(stdout), _O_BINARY);
    std::string library = FolderOf(ModuleFileName(nullptr)) + BRISK_REGISTRY_LIBRARY;
    HMODULE registry = LoadLibraryA(library.c_str());
    using GetAllModulesFunction = ModuleCatalogue*();
    auto* getAllModules = FindExport<GetAllModulesFunction>(registry, "GetAllModules");
    if (!getAllModules) {
        std::printf("no GetAllModules\n");
        return 1;
    }
    ModuleCatalogue* catalogue = getAllModules();
    for (const PluginModule& module : catalogue->modules) {
        std::string line = std::string(module.path) + "|" + std::string(module.version) + "|" +
                           std::string(module.name) + "|" +
                           (module.hasConfig ? "true" : "false");
        for (const FileFilter& filter : module.filters)
            line += "|" + JoinPatternList(filter.patterns) + "=" + std::string(filter.description);
        std::printf("%s\n", line.c_str());
    }
    std::printf(getAllModules() == catalogue ? "same\n" : "different\n");
    return 0;
}
