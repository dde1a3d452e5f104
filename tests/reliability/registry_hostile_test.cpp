// Malformed and oversized catalogue files read through briskspi.dll's GetAllModules,
// as a front plug-in gets them.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>

#include "catalogue_reader.h"
#include "hostile_catalogues.h"
#include "module_catalogue.h"
#include "plugin_binding.h"
#include "test_files.h"
#include "set_names.h"

namespace {

using GetAllModulesFunction = ModuleCatalogue*();

// A copy of briskspi.dll with a catalogue beside it, loaded into this process.
class RegistryCopy {
public:
    explicit RegistryCopy(const std::string& catalogueBytes)
    {
        CopyFixture(BRISK_REGISTRY_LIBRARY, Path());
        WriteFileBytes(folder_ / BRISK_DEFAULT_CATALOGUE, catalogueBytes);
        handle_ = LoadLibraryA(Path().c_str());
    }
    ~RegistryCopy() { Unload(); }
    RegistryCopy(const RegistryCopy&) = delete;
    RegistryCopy& operator=(const RegistryCopy&) = delete;

    std::string Path() const { return folder_ / BRISK_REGISTRY_LIBRARY; }
    HMODULE Handle() const { return handle_; }
    void Unload()
    {
        if (handle_)
            FreeLibrary(handle_);
        handle_ = nullptr;
    }

private:
    TempFolder folder_;
    HMODULE handle_ = nullptr;
};

class RegistryHostileCatalogue : public testing::TestWithParam<HostileCase> {};

TEST_P(RegistryHostileCatalogue, GetAllModulesGivesWhatTheReaderGivesAndUnloadsCleanly)
{
    HostileCatalogue catalogue = GetParam().make();
    RegistryCopy registry(catalogue.bytes);
    ASSERT_NE(registry.Handle(), nullptr);
    auto* getAllModules = FindExport<GetAllModulesFunction>(registry.Handle(), "GetAllModules");
    ASSERT_NE(getAllModules, nullptr);

    ModuleCatalogue* modules = getAllModules();
    ASSERT_NE(modules, nullptr);
    EXPECT_EQ(getAllModules(), modules);
    EXPECT_TRUE(modules->candidates.empty());
    std::vector<std::string> described;
    for (const PluginModule& module : modules->modules) {
        EXPECT_EQ(BrokenRule(module), "") << Describe(module);
        EXPECT_TRUE(module.binding.Empty());
        described.push_back(Describe(module));
    }

    // The registry library reads the file exactly as the reader reads the bytes.
    std::istringstream input(catalogue.bytes);
    std::vector<std::string> read;
    for (const PluginModule& module : ReadCatalogue(input))
        read.push_back(Describe(module));
    ASSERT_EQ(described.size(), read.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(described[i], read[i]) << "record " << i;
    }
    if (catalogue.checkRecords) {
        EXPECT_EQ(described, catalogue.records);
    }

    // Unloading destroys the catalogue inside the library; the process goes on.
    std::string path = registry.Path();
    registry.Unload();
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Hostile, RegistryHostileCatalogue, testing::ValuesIn(HostileCases()),
                         [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

}  // namespace
