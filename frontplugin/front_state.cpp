#include "front_state.h"

namespace {
HMODULE ownModule = nullptr;
bool busy = false;
bool processEnding = false;
// Constructed at library start, before anything created on first use, so it is
// destroyed last and briskspi.dll outlives the records read from it.
SharedRef<HMODULE> registryLibrary;
}  // namespace

HMODULE OwnModule()
{
    return ownModule;
}

void SetOwnModule(HMODULE module)
{
    ownModule = module;
}

void MarkProcessEnding()
{
    processEnding = true;
}

bool ProcessEnding()
{
    return processEnding;
}

bool& BusyFlag()
{
    return busy;
}

SharedRef<HMODULE>& RegistryLibraryReference()
{
    return registryLibrary;
}

ModuleSet& TheModuleSet()
{
    static ModuleSet moduleSet;
    return moduleSet;
}

PluginInfoState& ThePluginInfoState()
{
    static PluginInfoState pluginInfo;
    return pluginInfo;
}

std::string& LastRejectedName()
{
    static std::string lastRejectedName;
    return lastRejectedName;
}

std::optional<std::string>& LastProbedName()
{
    static std::optional<std::string> lastProbedName;
    return lastProbedName;
}

std::wstring& LastRejectedWideName()
{
    static std::wstring lastRejectedName;
    return lastRejectedName;
}

std::optional<std::wstring>& LastProbedWideName()
{
    static std::optional<std::wstring> lastProbedName;
    return lastProbedName;
}

WidePatternState& TheWidePatterns()
{
    static WidePatternState patterns;
    return patterns;
}
