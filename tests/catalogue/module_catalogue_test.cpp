#include <gtest/gtest.h>
#include <memory>

#include <iterator>

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

}  // namespace
