#include "module_catalogue.h"

#include <iterator>

ModuleCatalogue::ModuleCatalogue(const ModuleCatalogue& other) : modules(other.modules)
{
    for (ModuleList::iterator candidate : other.candidates) {
        ModuleList::const_iterator theirs = candidate;
        ModuleList::iterator mine = modules.begin();
        std::advance(mine, std::distance(other.modules.begin(), theirs));
        candidates.push_back(mine);
    }
}

ModuleCatalogue& ModuleCatalogue::operator=(const ModuleCatalogue& other)
{
    if (this != &other) {
        ModuleCatalogue copy(other);
        candidates.clear();
        *this = std::move(copy);
    }
    return *this;
}
