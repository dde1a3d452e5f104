#include "front_state.h"

namespace {
HMODULE ownModule = nullptr;
bool processEnding = false;
// Constructed at library start, before anything created on first use, so it is
// destroyed last and briskspi.dll outlives the records read from it.
SharedRef<HMODULE> registryLibrary;
OnceInit<SlimLock> registryLibraryLoaded;
// Namespace-scope rather than made on first use: two threads' first calls must not
// both construct them. Their constructors only set members to empty.
ModuleSet moduleSet;
PluginInfoState pluginInfo;
WidePatternState widePatterns;
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

SharedRef<HMODULE>& RegistryLibraryReference()
{
    return registryLibrary;
}

OnceInit<SlimLock>& RegistryLibraryLoaded()
{
    return registryLibraryLoaded;
}

ModuleSet& TheModuleSet()
{
    return moduleSet;
}

PluginInfoState& ThePluginInfoState()
{
    return pluginInfo;
}

WidePatternState& TheWidePatterns()
{
    return widePatterns;
}
