#include "image_plugin.h"

#include <stdexcept>

namespace {

template <class Function>
Function* FindEntryPoint(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

}  // namespace

ImagePlugin::ImagePlugin(const std::string& path) : library_(LoadLibraryA(path.c_str()))
{
    GetPluginInfo = FindEntryPoint<GetPluginInfoFunction>(library_, "GetPluginInfo");
    IsSupported = FindEntryPoint<IsSupportedFunction>(library_, "IsSupported");
    GetPicture = FindEntryPoint<GetPictureFunction>(library_, "GetPicture");
    GetPictureInfo = FindEntryPoint<GetPictureInfoFunction>(library_, "GetPictureInfo");
}

ImagePlugin::~ImagePlugin()
{
    if (library_)
        FreeLibrary(library_);
}

bool ImagePlugin::HasImageEntryPoints() const
{
    return GetPluginInfo && IsSupported && GetPicture;
}

std::string ImagePlugin::Information(int infono) const
{
    char text[1024] = {};
    if (!GetPluginInfo || GetPluginInfo(infono, text, sizeof text) <= 0)
        return "";
    return text;
}

void RequireImageEntryPoints(const ImagePlugin& plugin, const std::string& path)
{
    if (!plugin.HasImageEntryPoints())
        throw std::runtime_error("not a loadable image plug-in: " + path);
}
