#include <gtest/gtest.h>
#include <memory>

#include <cstdint>
#include <iterator>
#include <vector>

#include "catalogue_values.h"
#include "module_catalogue.h"

namespace {

ModuleCatalogue Catalogue()
{
    ModuleCatalogue catalogue;
    for (const char* path : {"a", "b", "c"}) {
        PluginModule module;
        module.path = path;
        module.filters.push_back(MakeFilter({"*." + std::string(path)}, path));
        catalogue.modules.push_back(module);
    }
    catalogue.candidates.push_back(std::next(catalogue.modules.begin(), 2));
    catalogue.candidates.push_back(catalogue.modules.begin());
    return catalogue;
}

TEST(ModuleCatalogue, CopyIsDeepAndItsCandidatesPointIntoTheCopy)
{
    ModuleCatalogue original = Catalogue();
    ModuleCatalogue copy(original);
    ASSERT_EQ(copy.modules.size(), 3u);
    ASSERT_EQ(copy.candidates.size(), 2u);
    EXPECT_EQ(copy.candidates.front()->path, "c");
    EXPECT_EQ(copy.candidates.back()->path, "a");
    EXPECT_NE(&*copy.candidates.front(), &*original.candidates.front());

    original.modules.front().filters.clear();
    EXPECT_EQ(copy.modules.front().filters.size(), 1u);

    ModuleCatalogue assigned;
    assigned = copy;
    EXPECT_EQ(assigned.candidates.front()->path, "c");
    EXPECT_EQ(&*std::next(assigned.modules.begin(), 2), &*assigned.candidates.front());
}

TEST(ModuleCatalogue, CopySharesTheLoadStateOfBoundEntries)
{
    class Holder : public SharedHolder<PluginEntryPoints> {
    public:
        explicit Holder(bool& gone) : gone_(gone) {}
        ~Holder() override { gone_ = true; }
        PluginEntryPoints* Get() override { return nullptr; }

    private:
        bool& gone_;
    };
    bool gone = false;
    auto original = std::make_unique<ModuleCatalogue>(Catalogue());
    original->modules.front().binding = new Holder(gone);
    {
        ModuleCatalogue copy(*original);
        EXPECT_EQ(copy.modules.front().binding.Target(), original->modules.front().binding.Target());
        EXPECT_TRUE(copy.modules.back().binding.Empty());
        original.reset();
        EXPECT_FALSE(gone);  // the copy still holds it
    }
    EXPECT_TRUE(gone);
}


// Where every text and array of a record lives: the arena's address, or null for the heap.
std::vector<const CatalogueArena*> PlacesOf(const PluginModule& module)
{
    std::vector<const CatalogueArena*> places{module.path.get_allocator().Arena(),
                                              module.name.get_allocator().Arena(),
                                              module.filters.get_allocator().Arena()};
    for (const FileFilter& filter : module.filters) {
        places.push_back(filter.patterns.get_allocator().Arena());
        places.push_back(filter.description.get_allocator().Arena());
    }
    return places;
}

TEST(ModuleCatalogue, RecordsTakenIntoAnArenaLiveThereWholeAndCopiesOfThemOnTheHeap)
{
    ModuleCatalogue heap = Catalogue();
    CatalogueArena arena;
    {
        ModuleCatalogue inArena(arena);
        // As a front plug-in takes the registry's records, and as the reader moves them.
        for (const PluginModule& module : heap.modules)
            inArena.modules.push_back(module);
        PluginModule moved = heap.modules.front();
        inArena.modules.push_back(std::move(moved));
        inArena.candidates.push_back(std::next(inArena.modules.begin(), 1));
        ASSERT_EQ(inArena.modules.size(), 4u);
        for (const PluginModule& module : inArena.modules) {
            for (const CatalogueArena* place : PlacesOf(module))
                EXPECT_EQ(place, &arena) << module.path;
        }
        EXPECT_GT(arena.Reserved(), 0u);
        EXPECT_EQ(inArena.modules.back().filters[0].patterns, (PatternList{"*.a"}));

        // The About dialog's copy must not depend on the front plug-in's arena.
        ModuleCatalogue copy(inArena);
        ASSERT_EQ(copy.candidates.size(), 1u);
        EXPECT_EQ(copy.candidates.front()->path, "b");
        for (const PluginModule& module : copy.modules) {
            for (const CatalogueArena* place : PlacesOf(module))
                EXPECT_EQ(place, nullptr) << module.path;
        }

        // Assigning into the arena's catalogue keeps its records in the arena, and its
        // candidates in its own list.
        inArena = heap;
        ASSERT_EQ(inArena.candidates.size(), 2u);
        EXPECT_EQ(&*std::next(inArena.modules.begin(), 2), &*inArena.candidates.front());
        for (const CatalogueArena* place : PlacesOf(inArena.modules.front()))
            EXPECT_EQ(place, &arena);
        inArena = std::move(copy);
        EXPECT_EQ(inArena.candidates.front()->path, "b");
        EXPECT_EQ(&*std::next(inArena.modules.begin(), 1), &*inArena.candidates.front());
    }
}

TEST(CatalogueArena, HandsOutAlignedBlocksOfAnySize)
{
    CatalogueArena arena;
    CatalogueAllocator<char> allocator(&arena);
    // Larger than any block the arena would take on its own, between small ones.
    CatalogueText large(8 * 1024 * 1024, 'x', allocator);
    CatalogueVector<double> numbers(allocator);
    for (int i = 0; i < 1000; ++i) {
        CatalogueText small(static_cast<std::size_t>(i % 37), 'y', allocator);
        numbers.push_back(i);
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(numbers.data()) % alignof(double), 0u);
        ASSERT_EQ(small.size(), static_cast<std::size_t>(i % 37));
    }
    EXPECT_EQ(large.size(), 8u * 1024 * 1024);
    EXPECT_EQ(large.back(), 'x');
    EXPECT_EQ(numbers[999], 999.0);
    EXPECT_GE(arena.Reserved(), 8u * 1024 * 1024);
}

}  // namespace
