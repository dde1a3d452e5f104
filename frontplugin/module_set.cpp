#include "module_set.h"

#include <iterator>
#include <memory>

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
    if (moduleSet.catalogue)
        return *moduleSet.catalogue;
    ModuleCatalogue* registry = nullptr;
    if (auto* getAllModules = FindExport<GetAllModulesFunction>(RegistryLibrary(), "GetAllModules"))
        registry = getAllModules();
    // The records are moved, node and all, not copied: a catalogue of thousands costs its
    // memory once. They go back when this library is unloaded (below).
    auto taken = std::make_unique<ModuleCatalogue>(registry ? registry->modules.get_allocator()
                                                            : CatalogueAllocator<PluginModule>());
    if (registry) {
        ModuleCatalogue::ModuleList& all = registry->modules;
        for (auto record = all.begin(); record != all.end();) {
            auto next = std::next(record);
            if (record->version == kApiVersion)
                taken->modules.splice(taken->modules.end(), all, record);
            record = next;
        }
    }
    moduleSet.registryCatalogue = registry;
    moduleSet.catalogue = std::move(taken);
    return *moduleSet.catalogue;
}

ModuleSet::~ModuleSet()
{
    // At process exit briskspi.dll, and the memory the records live in, may be gone
    // already: they are left as they are.
    if (!catalogue)
        return;
    if (ProcessEnding()) {
        catalogue.release();
        return;
    }
    catalogue->candidates.clear();
    // Unbound, in their order, so that this front plug-in finds them again when it is
    // loaded again while briskspi.dll stays loaded for the other one. Releasing a
    // binding frees its plug-in when it was the last holder.
    for (PluginModule& record : catalogue->modules)
        record.binding.Release();
    if (registryCatalogue)
        registryCatalogue->modules.splice(registryCatalogue->modules.end(), catalogue->modules);
}
