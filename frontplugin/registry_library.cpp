#include "registry_library.h"

#include <string>

#include "front_state.h"
#include "module_path.h"
#include "plugin_binding.h"
#include "set_names.h"

HMODULE RegistryLibrary()
{
    SharedRef<HMODULE>& reference = RegistryLibraryReference();
    RegistryLibraryLoaded().Run([&] {
        // Always the own folder, never the search path: the registry that belongs to
        // this front plug-in, whatever the host's current folder is.
        std::string path = FolderOf(ModuleFileName(OwnModule())) + BRISK_REGISTRY_LIBRARY;
        reference = new PluginLibrary(LoadLibraryA(path.c_str()));
        // The 64-bit registry library binds 32-bit plug-ins through its helper.
        SetBridgeBinder(FindExport<BridgeBinder>(*reference, "BindBridgedPlugin"));
    });
    return *reference;
}

namespace {
using ChannelFailuresFunction = unsigned long();
// A null export means no bridge.
ChannelFailuresFunction* channelFailures = nullptr;
OnceInit<SlimLock> channelFailuresFound;
}  // namespace

unsigned long BridgeChannelFailures()
{
    channelFailuresFound.Run(
        [] { channelFailures = FindExport<ChannelFailuresFunction>(RegistryLibrary(), "BridgeChannelFailures"); });
    return channelFailures ? channelFailures() : 0;
}
