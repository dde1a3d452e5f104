#include "registry_copy.h"

#include "plugin_binding.h"

RegistryCopy::RegistryCopy()
{
    CopyFixture("briskspi.dll", folder_ / "briskspi.dll");
    library_ = LoadLibraryA((folder_ / "briskspi.dll").c_str());
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
