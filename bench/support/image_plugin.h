#pragma once

// An image plug-in loaded the way a host loads it, with the entry points a host
// calls to open a picture. Freed on destruction.
#include <string>

#include "plugin_interface.h"

class ImagePlugin {
public:
    explicit ImagePlugin(const std::string& path);
    ~ImagePlugin();
    ImagePlugin(const ImagePlugin&) = delete;
    ImagePlugin& operator=(const ImagePlugin&) = delete;

    // Loaded, and exports GetPluginInfo, IsSupported and GetPicture.
    bool HasImageEntryPoints() const;
    // Its GetPluginInfo text for `infono`; empty when it has none.
    std::string Information(int infono) const;

    GetPluginInfoFunction* GetPluginInfo = nullptr;
    IsSupportedFunction* IsSupported = nullptr;
    GetPictureFunction* GetPicture = nullptr;
    // Not required by HasImageEntryPoints; null when the plug-in lacks it.
    GetPictureInfoFunction* GetPictureInfo = nullptr;

private:
    HMODULE library_;
};

// The same, for the benchmarks that cannot go on without it: throws
// std::runtime_error unless the plug-in has the image entry points.
void RequireImageEntryPoints(const ImagePlugin& plugin, const std::string& path);
