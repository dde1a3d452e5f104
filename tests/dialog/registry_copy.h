#pragma once

// briskspi.dll copied into a fresh folder and loaded into the test process, as a
// front plug-in loads it from its own folder.
#include <windows.h>

#include <string>

#include "module_catalogue.h"
#include "test_files.h"

class RegistryCopy {
public:
    RegistryCopy();
    ~RegistryCopy();
    RegistryCopy(const RegistryCopy&) = delete;
    RegistryCopy& operator=(const RegistryCopy&) = delete;

    const TempFolder& Folder() const { return folder_; }
    HMODULE Handle() const { return library_; }
    // Calls the export; -1000 when the library has none.
    int ShowAbout(HWND parent, const ModuleCatalogue* moduleSet) const;

private:
    TempFolder folder_;
    HMODULE library_ = nullptr;
};
