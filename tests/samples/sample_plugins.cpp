#include "sample_plugins.h"

#include <stdexcept>

#include "test_files.h"

PluginEntryPoints LoadSample(const std::string& fileName)
{
    SharedRef<PluginEntryPoints> loaded = LoadPlugin(BinFolder() + fileName);
    if (!loaded->GetPluginInfo)
        throw std::runtime_error("cannot load " + fileName);
    return *loaded;
}

std::string TakeBlock(HLOCAL handle)
{
    if (!handle)
        return std::string();
    const char* data = static_cast<const char*>(LocalLock(handle));
    std::string bytes(data, data ? LocalSize(handle) : 0);
    LocalUnlock(handle);
    LocalFree(handle);
    return bytes;
}
