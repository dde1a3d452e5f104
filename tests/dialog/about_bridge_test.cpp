// The About dialog with a plug-in of the other width in its catalogue: listed like
// the others, and its buttons reach the plug-in in the helper with the dialog as the
// owner of its box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "about_resources.h"
#include "about_window.h"
#include "front_host.h"
#include "host_window.h"
#include "narrow_programs.h"
#include "set_names.h"

namespace {

// The window handle a fake of the other width logged for ConfigurationDlg(parent, fnc).
ULONG_PTR LoggedParent(const FakePlugin& fake, int fnc)
{
    for (const std::string& line : fake.Calls()) {
        std::string::size_type bar = line.rfind('|');
        if (line.rfind("ConfigurationDlg|", 0) == 0 && line.substr(bar + 1) == std::to_string(fnc))
            return std::strtoull(line.substr(17, bar - 17).c_str(), nullptr, 16);
    }
    return 0;
}

TEST(FrontAboutBridge, PluginsOfTheOtherWidthAreListedAndTheirButtonsWork)
{
    if (!CanRunTheBridgeHelper())
        GTEST_SKIP() << "this machine runs no " BRISK_BRIDGED_WIDTH " programs: the bridge cannot be tested here";
    FrontFolder folder;
    CopyFixture(BRISK_BRIDGE_PROGRAM, folder / BRISK_BRIDGE_PROGRAM);
    FakePlugin narrow = folder.AddFake("narrow.spi", "all", "");
    ASSERT_TRUE(CopyFileA((WineFolder(BRISK_OTHER_SET_BIN) + "fake_all.spi").c_str(), narrow.Path().c_str(), FALSE));
    FakePlugin native = folder.AddFake("native.spi", "all", "");
    folder.WriteCatalogue(CatalogueRecord(narrow.Path(), "00IN", "Narrow", true, {{"*.n", "N"}}) +
                          CatalogueRecord(native.Path(), "00IN", "Native", true, {{"*.w", "W"}}));
    HostWindow host;
    LoadedFront imp(folder.Imp());
    HWND dialog = nullptr;
    DialogRun run = RunDialog([&] { return imp.ConfigurationDlg(host.Handle(), 0); },
                              [&](const AboutWindow& window) {
                                  dialog = window.Handle();
                                  EXPECT_EQ(window.Lines(), (std::vector<std::string>{"Narrow", "Native"}));
                                  window.Select(0);
                                  window.Click(IDC_PLUGIN_ABOUT);
                                  window.Click(IDC_PLUGIN_CONFIG);
                                  window.PressKey(VK_RETURN);
                              });
    EXPECT_TRUE(run.appeared);
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(LoggedParent(narrow, 0), reinterpret_cast<ULONG_PTR>(dialog));
    EXPECT_EQ(LoggedParent(narrow, 1), reinterpret_cast<ULONG_PTR>(dialog));
    EXPECT_EQ(narrow.Count("detach"), 1) << "bound from the dialog, freed when it closes";
    EXPECT_EQ(native.Calls(), std::vector<std::string>{});
}

}  // namespace
