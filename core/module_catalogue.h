#pragma once

#include <list>

#include "catalogue_arena.h"
#include "plugin_module.h"

// The catalogued modules in catalogue order, and the candidates of the last probe
// (positions in `modules`).
struct ModuleCatalogue {
    using ModuleList = std::list<PluginModule, CatalogueAllocator<PluginModule>>;

    ModuleList modules;
    std::list<ModuleList::iterator> candidates;

    ModuleCatalogue() = default;
    // Records read into or copied into this catalogue live in `arena`, which must
    // outlive it.
    explicit ModuleCatalogue(CatalogueArena& arena) : ModuleCatalogue(CatalogueAllocator<PluginModule>(&arena)) {}
    // Records put into this catalogue live where `allocator` puts them; nodes can be
    // moved between catalogues of equal allocators.
    explicit ModuleCatalogue(const CatalogueAllocator<PluginModule>& allocator) : modules(allocator) {}
    // A deep copy on the heap; the copied candidates point at the copy's own entries,
    // so the copy never refers into the catalogue it came from.
    ModuleCatalogue(const ModuleCatalogue& other);
    ModuleCatalogue& operator=(const ModuleCatalogue& other);
    ModuleCatalogue(ModuleCatalogue&&) = default;
    // Takes the records over when both live in the same place, else copies them.
    ModuleCatalogue& operator=(ModuleCatalogue&& other);
    // Members go in reverse order: the candidates first, then the modules.
    ~ModuleCatalogue() = default;
};
