// What a front plug-in loads and frees over its life: plug-ins and briskspi.dll on
// unload, a front plug-in unloaded and loaded again, and process exit.
#include <gtest/gtest.h>

#include "child_process.h"
#include "front_host.h"
#include "set_names.h"

namespace {

TEST(FrontLifetime, LoadedPluginsAreFreedOnceAtUnloadAndOthersNeverLoaded)
{
    FrontFolder folder;
    FakePlugin never = folder.AddFake("never.spi", "all", "");
    FakePlugin used = folder.AddFake("used.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(never, "00IN", {{"*.nn", "Ns"}}) + FakeRecord(used, "00IN", {{"*.uu", "Us"}}));
    {
        LoadedFront front(folder.Imp());
        EXPECT_EQ(front.PluginInfo(2), "*.nn");
        for (const char* name : {"a.uu", "b.uu", "c.xx", "a.uu"})
            EXPECT_EQ(front.IsSupported(name, 0), name[2] == 'u' ? 1 : 0) << name;
        EXPECT_EQ(front.GetPicture("a.uu", 0, 0, nullptr, nullptr, nullptr, 0), 0);
        EXPECT_TRUE(IsLoaded(folder.Registry()));
        EXPECT_EQ(used.Count("attach"), 1);
        EXPECT_EQ(used.Count("detach"), 0);
    }
    EXPECT_EQ(used.Count("attach"), 1);
    EXPECT_EQ(used.Count("detach"), 1);
    EXPECT_FALSE(IsLoaded(used.Path()));
    EXPECT_FALSE(IsLoaded(folder.Registry()));
    EXPECT_EQ(never.Count("attach"), 0);
}

TEST(FrontLifetime, FrontReloadedWhileTheOtherKeepsTheRegistryLoaded)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "image", "");
    FakePlugin archive = folder.AddFake("archive.spi", "archive", "entries=a.txt\n");
    FakePlugin second = folder.AddFake("second.spi", "image", "");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "Pictures"}}) +
                          FakeRecord(archive, "00AM", {{"*.arc", "Archives"}}) +
                          FakeRecord(second, "00IN", {{"*.sec", "Seconds"}}));
    LoadedFront arc(folder.Arc());
    EXPECT_EQ(arc.PluginInfo(2), "*.arc");
    for (int round = 1; round <= 2; ++round) {
        LoadedFront imp(folder.Imp());
        EXPECT_EQ(imp.PluginInfo(2), "*.pic") << "round " << round;
        EXPECT_EQ(imp.PluginInfo(3), "Pictures") << "round " << round;
        // The records taken by the last load come back whole, in their order.
        EXPECT_EQ(imp.PluginInfo(4), "*.sec") << "round " << round;
        int end = -1;
        imp.PluginInfo(6, 256, &end);
        EXPECT_EQ(end, 0) << "round " << round;
        EXPECT_EQ(imp.IsSupported("x.pic", 0), 1) << "round " << round;
        EXPECT_EQ(imp.GetPicture("x.pic", 0, 0, nullptr, nullptr, nullptr, 0), 0) << "round " << round;
        EXPECT_EQ(image.Count("attach"), round);
        imp.Unload();
        EXPECT_EQ(image.Count("detach"), round);
        EXPECT_TRUE(IsLoaded(folder.Registry())) << "round " << round;
    }
    // The archive build's own records were never touched.
    EXPECT_EQ(arc.IsSupported("y.arc", 0), 1);
    EXPECT_EQ(arc.GetArchiveInfo("y.arc", 0, 0, nullptr), 0);
    arc.Unload();
    EXPECT_FALSE(IsLoaded(folder.Registry()));
    EXPECT_EQ(archive.Count("detach"), 1);
}

// front_exit_host prints "FreeLibrary <path>" for each library the front plug-in frees.
std::vector<std::string> FreedIn(const std::string& output, const std::string& folder)
{
    std::vector<std::string> freed;
    const std::string marker = "FreeLibrary ";
    std::string::size_type start = 0;
    while (start < output.size()) {
        std::string::size_type end = output.find('\n', start);
        std::string line = output.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, marker.size(), marker) == 0 && lstrcmpiA(line.substr(marker.size(), folder.size()).c_str(),
                                                                      folder.c_str()) == 0)
            freed.push_back(line.substr(marker.size() + folder.size()));
        start = end == std::string::npos ? output.size() : end + 1;
    }
    return freed;
}

TEST(FrontLifetime, NothingIsFreedAtProcessExitButEverythingAtUnload)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"*.aa", "A"}}));
    const std::string host = "\"" + BinFolder() + "front_exit_host.exe\" \"" + folder.Imp() + "\" x.aa ";

    ProcessResult exited = RunProcess(host + "exit");
    EXPECT_EQ(exited.exitCode, 0) << exited.standardOutput;
    EXPECT_NE(exited.standardOutput.find("IsSupported 1"), std::string::npos) << exited.standardOutput;
    EXPECT_EQ(FreedIn(exited.standardOutput, folder.Path()), std::vector<std::string>{}) << exited.standardOutput;
    EXPECT_EQ(fake.Count("detach|exit"), 1);

    fake.ClearLog();
    ProcessResult unloaded = RunProcess(host + "unload");
    EXPECT_EQ(unloaded.exitCode, 0) << unloaded.standardOutput;
    EXPECT_EQ(FreedIn(unloaded.standardOutput, folder.Path()),
              (std::vector<std::string>{"fake.spi", BRISK_REGISTRY_LIBRARY}))
        << unloaded.standardOutput;
    EXPECT_EQ(fake.Calls(), (std::vector<std::string>{"attach", "IsSupported|x.aa|0", "detach"}));
}

}  // namespace
