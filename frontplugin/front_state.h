#pragma once

// The front plug-in's process-wide state. Apart from the own module handle and the
// (empty) registry library reference, it is built once, by the first call that needs
// it, whichever thread makes it; threads that need it meanwhile wait for it. All is
// destroyed at library end in the reverse order of creation, so the plug-ins go
// before briskspi.dll. What belongs to one calling thread is in thread_state.h.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "module_catalogue.h"
#include "once_init.h"
#include "plugin_info_table.h"
#include "record_bindings.h"
#include "shared_ref.h"
#include "slim_lock.h"

// briskspi.dll's way back for the records a front plug-in took.
using ReturnModulesFunction = void(ModuleCatalogue* taken);

struct ModuleSet {
    ModuleSet() = default;
    ModuleSet(const ModuleSet&) = delete;
    ModuleSet& operator=(const ModuleSet&) = delete;
    // Gives the records back to the registry's catalogue (module_set.cpp).
    ~ModuleSet();

    OnceInit<SlimLock> built;
    // The texts of the information table that are not the records' own.
    CatalogueArena arena;
    // Null until built. Its records were moved out of the registry's catalogue and live
    // in the registry's memory.
    std::unique_ptr<ModuleCatalogue> catalogue;
    ReturnModulesFunction* returnModules = nullptr;
    // Declared last: the bindings refer to the catalogue's records.
    RecordBindings bindings;
};

// The catalogue's patterns in UTF-16 for the wide probe, per record in module-set
// order, converted on the first wide probe.
struct WidePatternState {
    OnceInit<SlimLock> built;
    std::vector<std::vector<std::wstring>> records;
};

struct PluginInfoState {
    OnceInit<SlimLock> built;
    std::optional<PluginInfoTable> table;
};

HMODULE OwnModule();
void SetOwnModule(HMODULE module);

// Set when the process ends with this library still loaded: libraries loaded later
// (briskspi.dll among them) may already be detached.
void MarkProcessEnding();
bool ProcessEnding();

// Empty until briskspi.dll is first needed; then set once, null handle on failure.
SharedRef<HMODULE>& RegistryLibraryReference();
OnceInit<SlimLock>& RegistryLibraryLoaded();
ModuleSet& TheModuleSet();
PluginInfoState& ThePluginInfoState();
WidePatternState& TheWidePatterns();
