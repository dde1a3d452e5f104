#include "module_set.h"

#include "build_variant.h"
#include "front_state.h"
#include "plugin_binding.h"
#include "registry_library.h"

namespace {
using GetAllModulesFunction = ModuleCatalogue*();
}

ModuleCatalogue& modules()
{
    ModuleSet& moduleSet = TheModuleSet();
    if (moduleSet.built)
        return moduleSet.catalogue;
    // Copies, not moves: the registry's catalogue stays whole, so this front plug-in
    // finds its records again when it is unloaded and loaded while briskspi.dll
    // stays loaded for the other one. The copies are unbound, belong to us and live
    // in our own arena.
    ModuleCatalogue::ModuleList taken(moduleSet.catalogue.modules.get_allocator());
    if (auto* getAllModules = FindExport<GetAllModulesFunction>(RegistryLibrary(), "GetAllModules")) {
        for (const PluginModule& record : getAllModules()->modules) {
            if (record.version == kApiVersion)
                taken.push_back(record);
        }
    }
    // Marked only once the copy is whole, so a failure part-way leaves nothing behind
    // and the next call tries again.
    moduleSet.catalogue.modules.splice(moduleSet.catalogue.modules.end(), taken);
    moduleSet.built = true;
    return moduleSet.catalogue;
}
