#include "process_catalogue.h"

#include <iterator>
#include <memory>
#include <mutex>

#include "catalogue_file.h"
#include "once_init.h"
#include "slim_lock.h"

namespace {
// Destroyed when the library is unloaded, the catalogue before its arena. Their
// constructors only set members to empty.
CatalogueArena arena;
ModuleCatalogue catalogue(arena);
OnceInit<SlimLock> catalogueRead;
// Guards the catalogue's list once it is read.
SlimLock recordsLock;
}  // namespace

ModuleCatalogue& ProcessCatalogue()
{
    catalogueRead.Run([] {
        try {
            ReadCatalogueFile(CataloguePath(), catalogue);
        } catch (...) {
            // Out of memory while reading: the callers get what was read so far.
        }
    });
    return catalogue;
}

ModuleCatalogue* TakeProcessModules(const char* version)
{
    ModuleCatalogue& all = ProcessCatalogue();
    auto taken = std::make_unique<ModuleCatalogue>(all.modules.get_allocator());
    std::lock_guard<SlimLock> guard(recordsLock);
    for (auto record = all.modules.begin(); record != all.modules.end();) {
        auto next = std::next(record);
        if (record->version == version)
            taken->modules.splice(taken->modules.end(), all.modules, record);
        record = next;
    }
    return taken.release();
}

void ReturnProcessModules(ModuleCatalogue& taken)
{
    ModuleCatalogue& all = ProcessCatalogue();
    taken.candidates.clear();
    std::lock_guard<SlimLock> guard(recordsLock);
    all.modules.splice(all.modules.end(), taken.modules);
}
