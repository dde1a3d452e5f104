// The registry library's exports. Nothing thrown leaves them.
#include "catalogue_file.h"
#include "module_catalogue.h"

extern "C" ModuleCatalogue* GetAllModules()
{
    // Built on the first call; destroyed when the library is unloaded.
    static ModuleCatalogue catalogue;
    static bool built = false;
    if (!built) {
        built = true;
        try {
            ReadCatalogueFile(CataloguePath(), catalogue);
        } catch (...) {
            // Out of memory while reading: the callers get what was read so far.
        }
    }
    return &catalogue;
}
