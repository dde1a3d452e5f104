#include "module_catalogue.h"

#include <iterator>

namespace {

// The positions in `mine` of `theirs`' candidates; `mine` is a copy of `theirs`.
std::list<ModuleCatalogue::ModuleList::iterator> CandidatesIn(ModuleCatalogue::ModuleList& mine,
                                                              const ModuleCatalogue& theirs)
{
    std::list<ModuleCatalogue::ModuleList::iterator> candidates;
    for (ModuleCatalogue::ModuleList::iterator candidate : theirs.candidates) {
        ModuleCatalogue::ModuleList::const_iterator position = candidate;
        ModuleCatalogue::ModuleList::iterator copy = mine.begin();
        std::advance(copy, std::distance(theirs.modules.begin(), position));
        candidates.push_back(copy);
    }
    return candidates;
}

}  // namespace

ModuleCatalogue::ModuleCatalogue(const ModuleCatalogue& other)
    : modules(other.modules), candidates(CandidatesIn(modules, other))
{
}

ModuleCatalogue& ModuleCatalogue::operator=(const ModuleCatalogue& other)
{
    if (this != &other) {
        // Copied with this catalogue's own allocator, so its records stay where its
        // records live.
        ModuleList copy(other.modules, modules.get_allocator());
        std::list<ModuleList::iterator> copiedCandidates = CandidatesIn(copy, other);
        candidates.clear();
        modules.swap(copy);
        candidates.swap(copiedCandidates);
    }
    return *this;
}

ModuleCatalogue& ModuleCatalogue::operator=(ModuleCatalogue&& other)
{
    if (this == &other)
        return *this;
    if (modules.get_allocator() != other.modules.get_allocator())
        return *this = static_cast<const ModuleCatalogue&>(other);
    candidates.clear();
    modules.swap(other.modules);
    candidates.swap(other.candidates);
    other.candidates.clear();
    other.modules.clear();
    return *this;
}
