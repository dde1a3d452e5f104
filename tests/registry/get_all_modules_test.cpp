#include <gtest/gtest.h>

#include "child_process.h"
#include "fake_plugins.h"
#include "module_catalogue.h"
#include "plugin_binding.h"
#include "test_files.h"
#include "set_names.h"

namespace {

using GetAllModulesFunction = ModuleCatalogue*();

std::string Record(const std::string& path, const std::string& version = "00IN")
{
    return CatalogueRecord(path, version, "Name " + path, true, {{"*.x;*.y", "Xs"}});
}

// The probe's line for a module written by Record().
std::string Listed(const std::string& path, const std::string& version = "00IN")
{
    return path + "|" + version + "|Name " + path + "|true|*.x;*.y=Xs\n";
}

// A folder with briskspi.dll and the probe program in "lib\", as a host would have them.
class RegistryFolder {
public:
    RegistryFolder()
    {
        CreateDirectoryA(Lib().c_str(), nullptr);
        CopyFixture(BRISK_REGISTRY_LIBRARY, Lib() + BRISK_REGISTRY_LIBRARY);
        CopyFixture("catalogue_probe.exe", Lib() + "catalogue_probe.exe");
    }
    std::string Lib() const { return root_ / "lib\\"; }
    std::string Root() const { return root_.Path(); }

    // Runs the probe with `arguments` after its path; returns what it printed.
    std::string Probe(const std::string& arguments) const
    {
        ProcessResult result = RunProcess("\"" + Lib() + "catalogue_probe.exe\" " + arguments);
        EXPECT_EQ(result.exitCode, 0) << result.standardOutput;
        return result.standardOutput;
    }

private:
    TempFolder root_;
};

TEST(GetAllModules, ReadsBriskspiTxtBesideTheLibrary)
{
    RegistryFolder folder;
    WriteFileBytes(folder.Lib() + BRISK_DEFAULT_CATALOGUE, Record("a.spi") + Record("b.spi", "00AM"));
    EXPECT_EQ(folder.Probe(""), Listed("a.spi") + Listed("b.spi", "00AM") + "same\n");
}

TEST(GetAllModules, MissingCatalogueGivesAnEmptyOne)
{
    RegistryFolder folder;
    EXPECT_EQ(folder.Probe(""), "same\n");
}

TEST(GetAllModules, ConfigFileSwitchInTheHostCommandLine)
{
    RegistryFolder folder;
    CreateDirectoryA((folder.Root() + "lists").c_str(), nullptr);
    WriteFileBytes(folder.Lib() + BRISK_DEFAULT_CATALOGUE, Record("default.spi"));
    WriteFileBytes(folder.Lib() + "other.txt", Record("other.spi"));
    WriteFileBytes(folder.Lib() + "my", Record("my.spi"));
    WriteFileBytes(folder.Lib() + "my list.txt", Record("mylist.spi"));
    WriteFileBytes(folder.Lib() + "first.txt", Record("first.spi"));
    WriteFileBytes(folder.Lib() + "second.txt", Record("second.spi"));
    WriteFileBytes(folder.Root() + "lists\\up.txt", Record("up.spi"));

    const std::pair<std::string, std::string> cases[] = {
        {"/CONFIGFILE:Other.TXT further", Listed("other.spi")},
        {"/configfile:my list.txt", Listed("my.spi")},
        {"/configfile:\"other.txt\"", ""},
        {"/configfile: other.txt", ""},
        {"/configfile:", ""},
        {"/configfile:..\\lists\\up.txt", Listed("up.spi")},
        {"/configfile:first.txt /configfile:second.txt", Listed("first.spi")},
        {"/configfile:C:\\other.txt", ""},
        {"-configfile:other.txt", Listed("default.spi")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(folder.Probe(c.first), c.second + "same\n") << c.first;
}

// Loads a copy of the registry library in this process for one test.
class LoadedRegistry {
public:
    explicit LoadedRegistry(const std::string& path) : handle_(LoadLibraryA(path.c_str())) {}
    ~LoadedRegistry()
    {
        if (handle_)
            FreeLibrary(handle_);
    }
    LoadedRegistry(const LoadedRegistry&) = delete;
    LoadedRegistry& operator=(const LoadedRegistry&) = delete;
    HMODULE Handle() const { return handle_; }
    ModuleCatalogue* GetAllModules() const
    {
        auto* function = FindExport<GetAllModulesFunction>(handle_, "GetAllModules");
        return function ? function() : nullptr;
    }

private:
    HMODULE handle_;
};

TEST(GetAllModules, SamePointerAndTheFileIsReadOnce)
{
    TempFolder folder;
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder / BRISK_REGISTRY_LIBRARY);
    WriteFileBytes(folder / BRISK_DEFAULT_CATALOGUE, Record("a.spi"));
    LoadedRegistry registry(folder / BRISK_REGISTRY_LIBRARY);
    ASSERT_NE(registry.Handle(), nullptr);
    ModuleCatalogue* first = registry.GetAllModules();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->modules.size(), 1u);
    WriteFileBytes(folder / BRISK_DEFAULT_CATALOGUE, Record("a.spi") + Record("b.spi"));
    ModuleCatalogue* second = registry.GetAllModules();
    EXPECT_EQ(first, second);
    EXPECT_EQ(second->modules.size(), 1u);
    EXPECT_TRUE(second->candidates.empty());
}

TEST(GetAllModules, LibraryFolderLongerThan259Bytes)
{
    // Wine's ANSI calls refuse paths over 259 bytes, so the reachable edge is a
    // library path of exactly 259 bytes: GetModuleFileNameA then fills the first
    // 260-byte buffer to its last character, and the buffer must grow.
    TempFolder root;
    std::string folder = root.Path();
    const std::string fileName = BRISK_REGISTRY_LIBRARY;
    while (folder.size() + fileName.size() < 259) {
        std::size_t room = 259 - fileName.size() - folder.size();
        std::string part(room > 60 ? 50 : room - 1, 'd');
        folder += part + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    }
    ASSERT_EQ((folder + fileName).size(), 259u);
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder + fileName);
    WriteFileBytes(folder + BRISK_DEFAULT_CATALOGUE, Record("deep.spi"));
    LoadedRegistry registry(folder + fileName);
    ASSERT_NE(registry.Handle(), nullptr) << GetLastError();
    ModuleCatalogue* catalogue = registry.GetAllModules();
    ASSERT_EQ(catalogue->modules.size(), 1u);
    EXPECT_EQ(catalogue->modules.front().path, "deep.spi");
}

TEST(GetAllModules, ExportsOnlyItsOwnNames)
{
    LoadedRegistry registry(BinFolder() + BRISK_REGISTRY_LIBRARY);
    ASSERT_NE(registry.Handle(), nullptr);
    EXPECT_NE(GetProcAddress(registry.Handle(), "GetAllModules"), nullptr);
    EXPECT_EQ(GetProcAddress(registry.Handle(), "CatalogueFileName"), nullptr);
}

}  // namespace
