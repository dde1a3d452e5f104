// The registry library's bridge exports: both front plug-ins bind their plug-ins of
// the other width through it, so one helper serves the whole host process and ends when the
// last front plug-in frees this library.
#include "bridge_client.h"
#include "bridged_binding.h"

extern "C" int BindBridgedPlugin(const char* path, SharedRef<PluginEntryPoints>* binding)
{
    return BindBridged(path, binding);
}

// The front plug-ins tell from it whether a plug-in's "no" came from the plug-in or
// from a helper that could not ask it.
extern "C" unsigned long BridgeChannelFailures()
{
    return ChannelFailuresOfThisThread();
}
