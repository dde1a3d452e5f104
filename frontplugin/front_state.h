#pragma once

// The front plug-in's process-wide state. Apart from the own module handle, the busy
// flag and the (empty) registry library reference, each object is created on first
// use; all are destroyed at library end in the reverse order of their creation, so
// the plug-ins go before briskspi.dll.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "module_catalogue.h"
#include "plugin_info_table.h"
#include "shared_ref.h"

struct ModuleSet {
    ModuleSet() = default;
    ModuleSet(const ModuleSet&) = delete;
    ModuleSet& operator=(const ModuleSet&) = delete;
    // Gives the records back to the registry's catalogue (module_set.cpp).
    ~ModuleSet();

    // The texts of the information table that are not the records' own.
    CatalogueArena arena;
    // Null until built. Its records were moved out of `registryCatalogue` and live in
    // the registry's memory.
    std::unique_ptr<ModuleCatalogue> catalogue;
    ModuleCatalogue* registryCatalogue = nullptr;
};

// The catalogue's patterns in UTF-16 for the wide probe, per record in module-set
// order, converted on the first wide probe.
struct WidePatternState {
    std::vector<std::vector<std::wstring>> records;
    bool built = false;
};

struct PluginInfoState {
    std::optional<PluginInfoTable> table;
};

HMODULE OwnModule();
void SetOwnModule(HMODULE module);

// Set when the process ends with this library still loaded: libraries loaded later
// (briskspi.dll among them) may already be detached.
void MarkProcessEnding();
bool ProcessEnding();

bool& BusyFlag();
// Empty until briskspi.dll is first needed; then set once, null handle on failure.
SharedRef<HMODULE>& RegistryLibraryReference();
ModuleSet& TheModuleSet();
PluginInfoState& ThePluginInfoState();
std::string& LastRejectedName();
// The name of the probe that made the candidate list, accepted or not; none before the
// first. A probe answered from LastRejectedName leaves it, as it leaves the list.
std::optional<std::string>& LastProbedName();
// The W probe's own last rejected name, and the last probed name in UTF-16. Probes of
// either kind set both last probed names (the ANSI one to nothing when the wide name
// has no ANSI form), so a request of either kind knows the file the candidates are for.
std::wstring& LastRejectedWideName();
std::optional<std::wstring>& LastProbedWideName();
WidePatternState& TheWidePatterns();
