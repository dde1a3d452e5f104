#include "bridged_plugin_file.h"

#include <cstdio>

#include "bridged_binding.h"
#include "library_file_width.h"
#include "set_names.h"

bool BindThroughBridge(const std::string& path, PluginEntryPoints& entryPoints)
{
    if (LibraryWidthOfFile(path) != LibraryWidth::k32Bit)
        return false;
    SharedRef<PluginEntryPoints> binding;
    if (!BindBridged(path.c_str(), &binding))
        return false;
    entryPoints = *binding;
    std::printf("bridged: a 32-bit plug-in, served by " BRISK_BRIDGE_PROGRAM "\n");
    return true;
}
