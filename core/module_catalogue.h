#pragma once

#include <list>

#include "plugin_module.h"

// The catalogued modules in catalogue order, and the candidates of the last probe
// (positions in `modules`).
struct ModuleCatalogue {
    using ModuleList = std::list<PluginModule>;

    ModuleList modules;
    std::list<ModuleList::iterator> candidates;

    ModuleCatalogue() = default;
    // A deep copy; the copied candidates point at the copy's own entries, so the
    // copy never refers into the catalogue it came from.
    ModuleCatalogue(const ModuleCatalogue& other);
    ModuleCatalogue& operator=(const ModuleCatalogue& other);
    ModuleCatalogue(ModuleCatalogue&&) = default;
    ModuleCatalogue& operator=(ModuleCatalogue&&) = default;
    // Members go in reverse order: the candidates first, then the modules.
    ~ModuleCatalogue() = default;
};
