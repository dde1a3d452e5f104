#include "registry_copy.h"

#include "plugin_binding.h"
#include "set_names.h"

RegistryCopy::RegistryCopy()
{
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder_ / BRISK_REGISTRY_LIBRARY);
    library_ = LoadLibraryA((folder_ / BRISK_REGISTRY_LIBRARY).c_str());
}

RegistryCopy::~RegistryCopy()
{
    if (library_)
        FreeLibrary(library_);
}

int RegistryCopy::ShowAbout(HWND parent, const ModuleCatalogue* moduleSet) const
{
    using ShowAboutFunction = int __cdecl(HWND, const ModuleCatalogue*);
    auto* showAbout = FindExport<ShowAboutFunction>(library_, "ShowAbout");
    return showAbout ? showAbout(parent, moduleSet) : -1000;
}
