#include <gtest/gtest.h>

#include <memory>

#include "fake_plugins.h"
#include "plugin_binding.h"
#include "test_files.h"

namespace {

bool IsLoaded(const std::string& path)
{
    return GetModuleHandleA(path.c_str()) != nullptr;
}

PluginModule ModuleFor(const std::string& path)
{
    PluginModule module;
    module.path = path;
    return module;
}

TEST(PluginBinding, TwoRequestsLoadOnce)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "one.spi", "all", "");
    PluginModule module = ModuleFor(fake.Path());
    PluginEntryPoints* first = GetEntryPoints(module);
    PluginEntryPoints* second = GetEntryPoints(module);
    EXPECT_EQ(first, second);
    EXPECT_EQ(fake.Count("attach"), 1);
    ASSERT_NE(first->GetPluginInfo, nullptr);
    EXPECT_TRUE(IsLoaded(fake.Path()));
}

TEST(PluginBinding, AllNineEntryPointsInOrder)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "all.spi", "all", "");
    PluginModule module = ModuleFor(fake.Path());
    PluginEntryPoints* entry = GetEntryPoints(module);
    HMODULE handle = GetModuleHandleA(fake.Path().c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(*entry->library, handle);
    const std::pair<void*, const char*> members[] = {
        {reinterpret_cast<void*>(entry->GetPluginInfo), "GetPluginInfo"},
        {reinterpret_cast<void*>(entry->IsSupported), "IsSupported"},
        {reinterpret_cast<void*>(entry->GetPictureInfo), "GetPictureInfo"},
        {reinterpret_cast<void*>(entry->GetPicture), "GetPicture"},
        {reinterpret_cast<void*>(entry->GetPreview), "GetPreview"},
        {reinterpret_cast<void*>(entry->GetArchiveInfo), "GetArchiveInfo"},
        {reinterpret_cast<void*>(entry->GetFileInfo), "GetFileInfo"},
        {reinterpret_cast<void*>(entry->GetFile), "GetFile"},
        {reinterpret_cast<void*>(entry->ConfigurationDlg), "ConfigurationDlg"},
    };
    for (const auto& member : members) {
        EXPECT_NE(member.first, nullptr) << member.second;
        EXPECT_EQ(member.first, reinterpret_cast<void*>(GetProcAddress(handle, member.second))) << member.second;
    }
}

// Records cross between deliverables built at different times: the nine keep their
// places, and the W entry points only follow them.
TEST(PluginBinding, WideEntryPointsFollowTheNine)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "wide.spi", "wide", "");
    PluginModule module = ModuleFor(fake.Path());
    PluginEntryPoints* entry = GetEntryPoints(module);
    HMODULE handle = GetModuleHandleA(fake.Path().c_str());
    ASSERT_NE(handle, nullptr);
    void* const* nine = reinterpret_cast<void* const*>(&entry->GetPluginInfo);
    EXPECT_EQ(reinterpret_cast<void* const*>(&entry->ConfigurationDlg), nine + 8);
    EXPECT_EQ(reinterpret_cast<void* const*>(&entry->GetPluginInfoW), nine + 9);
    EXPECT_EQ(reinterpret_cast<void* const*>(&entry->GetFileW), nine + 16);
    const std::pair<void*, const char*> members[] = {
        {reinterpret_cast<void*>(entry->IsSupportedW), "IsSupportedW"},
        {reinterpret_cast<void*>(entry->GetPictureInfoW), "GetPictureInfoW"},
        {reinterpret_cast<void*>(entry->GetPictureW), "GetPictureW"},
        {reinterpret_cast<void*>(entry->GetPreviewW), "GetPreviewW"},
        {reinterpret_cast<void*>(entry->GetArchiveInfoW), "GetArchiveInfoW"},
        {reinterpret_cast<void*>(entry->GetFileInfoW), "GetFileInfoW"},
        {reinterpret_cast<void*>(entry->GetFileW), "GetFileW"},
    };
    for (const auto& member : members) {
        EXPECT_NE(member.first, nullptr) << member.second;
        EXPECT_EQ(member.first, reinterpret_cast<void*>(GetProcAddress(handle, member.second))) << member.second;
    }
    EXPECT_EQ(entry->GetPluginInfoW, nullptr);
}

TEST(PluginBinding, MissingExportsAreNull)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "info.spi", "info_only", "info.0=00IN\n");
    PluginModule module = ModuleFor(fake.Path());
    PluginEntryPoints* entry = GetEntryPoints(module);
    ASSERT_NE(entry->GetPluginInfo, nullptr);
    char buffer[16] = {};
    EXPECT_NE(entry->GetPluginInfo(0, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "00IN");
    EXPECT_EQ(entry->IsSupported, nullptr);
    EXPECT_EQ(entry->GetPictureInfo, nullptr);
    EXPECT_EQ(entry->GetPicture, nullptr);
    EXPECT_EQ(entry->GetPreview, nullptr);
    EXPECT_EQ(entry->GetArchiveInfo, nullptr);
    EXPECT_EQ(entry->GetFileInfo, nullptr);
    EXPECT_EQ(entry->GetFile, nullptr);
    EXPECT_EQ(entry->ConfigurationDlg, nullptr);
}

TEST(PluginBinding, FailedLoadIsNotRetried)
{
    TempFolder folder;
    // The library's own initialisation refuses, so every attempt shows in its log.
    FakePlugin refusing(folder.Path(), "refuse.spi", "all", "refuseLoad=1\n");
    WriteFileBytes(folder / "text.spi", "not a library");
    for (const std::string& path : {refusing.Path(), folder / "text.spi", folder / "missing.spi", std::string()}) {
        PluginModule module = ModuleFor(path);
        PluginEntryPoints* entry = GetEntryPoints(module);
        EXPECT_FALSE(module.binding.Empty()) << path;
        EXPECT_EQ(*entry->library, nullptr) << path;
        EXPECT_EQ(entry->GetPluginInfo, nullptr) << path;
        EXPECT_EQ(entry->IsSupported, nullptr) << path;
        EXPECT_EQ(entry->ConfigurationDlg, nullptr) << path;
        EXPECT_EQ(GetEntryPoints(module), entry) << path;
    }
    EXPECT_EQ(refusing.Count("attach"), 1);
}

TEST(PluginBinding, LastHolderFreesTheLibraryOnce)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "one.spi", "all", "");
    auto module = std::make_unique<PluginModule>(ModuleFor(fake.Path()));
    auto copyAfterLoad = std::make_unique<PluginModule>();
    PluginEntryPoints entryCopy = *GetEntryPoints(*module);
    *copyAfterLoad = *module;
    module.reset();
    EXPECT_TRUE(IsLoaded(fake.Path()));
    copyAfterLoad.reset();
    EXPECT_TRUE(IsLoaded(fake.Path())) << "the entry point copy still holds the library";
    EXPECT_EQ(fake.Count("detach"), 0);
    entryCopy = PluginEntryPoints();
    EXPECT_FALSE(IsLoaded(fake.Path()));
    EXPECT_EQ(fake.Count("detach"), 1);
    EXPECT_EQ(fake.Count("attach"), 1);
}

TEST(PluginBinding, CopyMadeBeforeBindingBindsAndFreesOnItsOwn)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "one.spi", "all", "");
    PluginModule original = ModuleFor(fake.Path());
    {
        PluginModule copy = original;
        GetEntryPoints(copy);
        GetEntryPoints(copy);
        EXPECT_TRUE(IsLoaded(fake.Path()));
        EXPECT_TRUE(original.binding.Empty());
    }
    EXPECT_FALSE(IsLoaded(fake.Path()));
    EXPECT_EQ(fake.Count("attach"), 1);
    EXPECT_EQ(fake.Count("detach"), 1);

    // The original loads its own on first need.
    GetEntryPoints(original);
    EXPECT_EQ(fake.Count("attach"), 2);
}

TEST(PluginBinding, LoadPluginIsTheOnlyHolder)
{
    TempFolder folder;
    FakePlugin fake(folder.Path(), "one.spi", "all", "");
    SharedRef<PluginEntryPoints> loaded = LoadPlugin(fake.Path());
    EXPECT_EQ(loaded.Target()->ReferenceCount(), 1u);
    EXPECT_EQ(loaded->library.Target()->ReferenceCount(), 1u);
    loaded.Release();
    EXPECT_FALSE(IsLoaded(fake.Path()));
}

}  // namespace
