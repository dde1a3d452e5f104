#include "bridged_plugin_file.h"

#include "bridged_binding.h"
#include "library_file_width.h"

bool BindThroughBridge(const std::string& path, PluginEntryPoints& entryPoints)
{
    if (LibraryWidthOfFile(path) != kBridgedLibraryWidth)
        return false;
    SharedRef<PluginEntryPoints> binding;
    if (BindBridged(path.c_str(), &binding) != kBridgeBound)
        return false;
    entryPoints = *binding;
    return true;
}
