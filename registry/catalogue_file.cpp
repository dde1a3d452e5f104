#include "catalogue_file.h"

#include <fstream>

#include <windows.h>

#include "catalogue_reader.h"
#include "catalogue_switch.h"
#include "module_path.h"
#include "registry_module.h"

std::string CataloguePath()
{
    return FolderOf(ModuleFileName(RegistryModule())) + CatalogueFileName(GetCommandLineA());
}

void ReadCatalogueFile(const std::string& path, ModuleCatalogue& catalogue)
{
    // Binary: the reader itself gives the text-mode line rules, the same on every platform.
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file)
        return;
    catalogue.modules.splice(catalogue.modules.end(), ReadCatalogue(file));
}
