#include "module_set.h"

#include <memory>

#include "build_variant.h"
#include "front_state.h"
#include "plugin_binding.h"
#include "registry_library.h"

namespace {
// A new catalogue, on the shared heap, holding the records of `version`; null when
// memory ran out.
using TakeModulesFunction = ModuleCatalogue*(const char* version);
}

ModuleCatalogue& modules()
{
    ModuleSet& moduleSet = TheModuleSet();
    moduleSet.built.Run([&] {
        HMODULE registry = RegistryLibrary();
        // The records are moved, node and all, not copied: a catalogue of thousands
        // costs its memory once. briskspi.dll moves them under its own lock, since the
        // other front plug-in may take its records at the same moment. They go back
        // when this library is unloaded (below).
        auto* takeModules = FindExport<TakeModulesFunction>(registry, "TakeModules");
        auto* returnModules = FindExport<ReturnModulesFunction>(registry, "ReturnModules");
        std::unique_ptr<ModuleCatalogue> taken;
        if (takeModules && returnModules)
            taken.reset(takeModules(kApiVersion));
        if (taken)
            moduleSet.returnModules = returnModules;
        else
            taken = std::make_unique<ModuleCatalogue>();
        moduleSet.bindings.Take(taken->modules);
        moduleSet.catalogue = std::move(taken);
    });
    return *moduleSet.catalogue;
}

RecordBindings& ModuleBindings()
{
    modules();
    return TheModuleSet().bindings;
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
    // Unbound, in their order, so that this front plug-in finds them again when it is
    // loaded again while briskspi.dll stays loaded for the other one. Releasing a
    // binding frees its plug-in when it was the last holder.
    for (PluginModule& record : catalogue->modules)
        record.binding.Release();
    if (returnModules)
        returnModules(catalogue.get());
}
