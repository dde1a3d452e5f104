#pragma once

// The front plug-in's process-wide state. Apart from the own module handle, the busy
// flag and the (empty) registry library reference, each object is created on first
// use; all are destroyed at library end in the reverse order of their creation, so
// the plug-ins go before briskspi.dll.
#include <optional>
#include <string>

#include <windows.h>

#include "module_catalogue.h"
#include "plugin_info_table.h"
#include "shared_ref.h"

struct ModuleSet {
    ModuleCatalogue catalogue;
    bool built = false;
};

struct PluginInfoState {
    PluginInfoTable table;
    bool built = false;
};

HMODULE OwnModule();
void SetOwnModule(HMODULE module);

bool& BusyFlag();
// Empty until briskspi.dll is first needed; then set once, null handle on failure.
SharedRef<HMODULE>& RegistryLibraryReference();
ModuleSet& TheModuleSet();
PluginInfoState& ThePluginInfoState();
std::string& LastRejectedName();
// The name of the probe that made the candidate list, accepted or not; none before the
// first. A probe answered from LastRejectedName leaves it, as it leaves the list.
std::optional<std::string>& LastProbedName();
