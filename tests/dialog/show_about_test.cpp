// ShowAbout called directly by a host that built the module set itself, driven
// from a second thread as a person would use the dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about_resources.h"
#include "about_window.h"
#include "fake_plugins.h"
#include "host_window.h"
#include "plugin_binding.h"
#include "registry_copy.h"

namespace {

struct ListedPlugin {
    const char* file;
    const char* variant;  // null: no file, the plug-in cannot be loaded
    const char* name;
    bool hasConfig;
};

const ListedPlugin kListed[] = {
    {"alpha.spi", "all", "Alpha viewer", true},
    {"beta.spi", "all", "Beta reader", false},
    {"missing.spi", nullptr, "Missing plug-in", true},
    {"plain.spi", "noconfig", "No settings", true},
    {"twin1.spi", "all", "Twin", true},
    {"twin2.spi", "all", "Twin", true},
    {"unnamed.spi", "all", "", true},
};
enum Line { kAlpha, kBeta, kMissing, kNoConfig, kTwin1, kTwin2, kUnnamed, kLineCount };

class AboutDialogTest : public ::testing::Test {
protected:
    AboutDialogTest()
    {
        for (const ListedPlugin& listed : kListed) {
            PluginModule module;
            module.path = registry_.Folder() / listed.file;
            module.version = "00IN";
            module.name = listed.name;
            module.hasConfig = listed.hasConfig;
            moduleSet_.modules.push_back(module);
            plugins_.push_back(listed.variant ? new FakePlugin(registry_.Folder().Path(), listed.file,
                                                               listed.variant, "")
                                              : nullptr);
        }
    }
    ~AboutDialogTest() override
    {
        moduleSet_.modules.clear();
        for (FakePlugin* plugin : plugins_)
            delete plugin;
    }

    // Shows the dialog over the host window while `drive` uses it.
    DialogRun Run(const std::function<void(const AboutWindow&)>& drive)
    {
        return RunDialog([&] { return registry_.ShowAbout(host_.Handle(), &moduleSet_); }, drive);
    }

    const FakePlugin& Plugin(Line line) const { return *plugins_[line]; }
    PluginModule& Module(Line line)
    {
        auto position = moduleSet_.modules.begin();
        std::advance(position, line);
        return *position;
    }
    bool Loaded(Line line) const
    {
        return GetModuleHandleA((registry_.Folder() / kListed[line].file).c_str()) != nullptr;
    }

    RegistryCopy registry_;
    HostWindow host_;
    ModuleCatalogue moduleSet_;
    std::vector<FakePlugin*> plugins_;
};

std::string DialogCall(const AboutWindow& window, int fnc)
{
    return "ConfigurationDlg|" + PointerText(window.Handle()) + "|" + std::to_string(fnc);
}

TEST_F(AboutDialogTest, ListsTheModulesInOrderWithNothingSelected)
{
    DialogRun run = Run([&](const AboutWindow& window) {
        EXPECT_EQ(window.Lines(), (std::vector<std::string>{"Alpha viewer", "Beta reader", "Missing plug-in",
                                                            "No settings", "Twin", "Twin", ""}));
        EXPECT_EQ(window.Selection(), LB_ERR);
        EXPECT_FALSE(window.Enabled(IDC_PLUGIN_ABOUT));
        EXPECT_FALSE(window.Enabled(IDC_PLUGIN_CONFIG));
        // Each line carries its own record of the dialog's copy, not the caller's.
        for (int line = 0; line < kLineCount; ++line) {
            LRESULT data = window.ItemData(line);
            EXPECT_NE(data, 0) << line;
            EXPECT_NE(data, reinterpret_cast<LRESULT>(&Module(static_cast<Line>(line)))) << line;
        }
        EXPECT_NE(window.ItemData(kTwin1), window.ItemData(kTwin2));
        EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), host_.Handle());
        window.Click(IDOK);
    });
    EXPECT_TRUE(run.appeared);
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(run.result, 1);
    // Showing the list loads nothing.
    for (const FakePlugin* plugin : plugins_) {
        if (plugin) {
            EXPECT_EQ(plugin->Count("attach"), 0) << plugin->Path();
        }
    }
}

TEST_F(AboutDialogTest, SelectionEnablesTheButtonsByTheCatalogueFlag)
{
    // Order matters: each step changes the state the previous one left.
    const std::pair<Line, bool> steps[] = {
        {kAlpha, true}, {kBeta, false}, {kMissing, true}, {kBeta, false},
        {kNoConfig, true}, {kTwin2, true}, {kBeta, false}, {kUnnamed, true},
    };
    Run([&](const AboutWindow& window) {
        for (const auto& step : steps) {
            window.Select(step.first);
            EXPECT_EQ(window.Selection(), step.first);
            EXPECT_EQ(window.Enabled(IDC_PLUGIN_ABOUT), step.second) << step.first;
            EXPECT_EQ(window.Enabled(IDC_PLUGIN_CONFIG), step.second) << step.first;
        }
        window.Click(IDOK);
    });
    // Beta exports ConfigurationDlg, but its catalogue line decides; nothing was loaded.
    EXPECT_EQ(Plugin(kBeta).Count("attach"), 0);
}

TEST_F(AboutDialogTest, ButtonsCallTheSelectedPluginWithTheDialogAsParent)
{
    const Line lines[] = {kAlpha, kTwin2, kUnnamed, kTwin1};
    std::vector<std::vector<std::string>> expected(kLineCount);
    Run([&](const AboutWindow& window) {
        for (Line line : lines) {
            window.Select(line);
            window.Click(IDC_PLUGIN_ABOUT);
            window.Click(IDC_PLUGIN_CONFIG);
            expected[line] = {"attach", DialogCall(window, 0), DialogCall(window, 1)};
        }
        window.Click(IDOK);
    });
    for (Line line : lines)
        EXPECT_EQ(Plugin(line).Calls(), (std::vector<std::string>{expected[line][0], expected[line][1],
                                                                  expected[line][2], "detach"}))
            << kListed[line].file;
}

TEST_F(AboutDialogTest, ButtonsDoNothingWhenThePluginHasNoConfigurationDlg)
{
    DialogRun run = Run([&](const AboutWindow& window) {
        for (Line line : {kMissing, kNoConfig}) {
            window.Select(line);
            window.Click(IDC_PLUGIN_ABOUT);
            window.Click(IDC_PLUGIN_CONFIG);
            EXPECT_TRUE(window.Open());
        }
        // The dialog still works after both.
        window.Select(kAlpha);
        window.Click(IDC_PLUGIN_ABOUT);
        window.Click(IDOK);
    });
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(Plugin(kNoConfig).Calls(), (std::vector<std::string>{"attach", "detach"}));
    EXPECT_EQ(Plugin(kAlpha).Count("ConfigurationDlg|"), 1);
}

TEST_F(AboutDialogTest, DoubleClickOpensTheAboutBoxWhereTheButtonIsEnabled)
{
    std::string call;
    Run([&](const AboutWindow& window) {
        window.DoubleClick(kTwin1);
        window.DoubleClick(kBeta);
        call = DialogCall(window, 0);
        window.Click(IDOK);
    });
    EXPECT_EQ(Plugin(kTwin1).Calls(), (std::vector<std::string>{"attach", call, "detach"}));
    EXPECT_EQ(Plugin(kTwin2).Calls(), std::vector<std::string>{});
    EXPECT_EQ(Plugin(kBeta).Calls(), std::vector<std::string>{});
}

TEST_F(AboutDialogTest, EscLeavesTheDialogOpen)
{
    DialogRun run = Run([&](const AboutWindow& window) {
        window.Select(kAlpha);
        window.PressKey(VK_ESCAPE);
        window.Command(IDCANCEL, BN_CLICKED);
        Sleep(300);  // the posted key press has been handled by then
        EXPECT_TRUE(window.Open());
        EXPECT_EQ(window.Selection(), kAlpha);
        window.Click(IDOK);
    });
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(run.result, 1);
}

TEST_F(AboutDialogTest, OkEnterAndTheCloseBoxReturnOne)
{
    const std::pair<const char*, std::function<void(const AboutWindow&)>> ways[] = {
        {"OK button", [](const AboutWindow& window) { window.Click(IDOK); }},
        {"Enter", [](const AboutWindow& window) { window.PressKey(VK_RETURN); }},
        {"Enter on the list",
         [](const AboutWindow& window) {
             window.Select(kAlpha);
             window.Focus(IDC_PLUGIN_LIST);
             window.PressKey(VK_RETURN);
         }},
        {"WM_CLOSE", [](const AboutWindow& window) { SendMessageA(window.Handle(), WM_CLOSE, 0, 0); }},
        {"close box", [](const AboutWindow& window) { SendMessageA(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        DialogRun run = Run(way.second);
        EXPECT_TRUE(run.appeared) << way.first;
        EXPECT_TRUE(run.closedByDriver) << way.first;
        EXPECT_EQ(run.result, 1) << way.first;
    }
    EXPECT_EQ(Plugin(kAlpha).Count("ConfigurationDlg|"), 0);
}

TEST_F(AboutDialogTest, PluginLoadedThroughTheDialogIsLoadedOnceAndFreedOnClose)
{
    Run([&](const AboutWindow& window) {
        window.Select(kAlpha);
        for (int i = 0; i < 3; ++i) {
            window.Click(IDC_PLUGIN_ABOUT);
            window.Click(IDC_PLUGIN_CONFIG);
        }
        EXPECT_TRUE(Loaded(kAlpha));
        EXPECT_EQ(Plugin(kAlpha).Count("attach"), 1);
        window.Click(IDOK);
    });
    EXPECT_FALSE(Loaded(kAlpha));
    EXPECT_EQ(Plugin(kAlpha).Count("ConfigurationDlg|"), 6);
    EXPECT_EQ(Plugin(kAlpha).Count("attach"), 1);
    EXPECT_EQ(Plugin(kAlpha).Count("detach"), 1);
    // The caller's record was never bound.
    EXPECT_TRUE(Module(kAlpha).binding.Empty());
}

TEST_F(AboutDialogTest, PluginTheCallerLoadedIsSharedAndStaysLoaded)
{
    PluginEntryPoints* callers = GetEntryPoints(Module(kTwin1));
    ASSERT_NE(callers->ConfigurationDlg, nullptr);
    Run([&](const AboutWindow& window) {
        window.Select(kTwin1);
        window.Click(IDC_PLUGIN_ABOUT);
        window.Click(IDC_PLUGIN_CONFIG);
        window.Click(IDOK);
    });
    EXPECT_TRUE(Loaded(kTwin1));
    EXPECT_EQ(Plugin(kTwin1).Count("attach"), 1);
    EXPECT_EQ(Plugin(kTwin1).Count("detach"), 0);
    EXPECT_EQ(Plugin(kTwin1).Count("ConfigurationDlg|"), 2);
    EXPECT_EQ(GetEntryPoints(Module(kTwin1)), callers);
    EXPECT_EQ(Module(kTwin1).binding.Target()->ReferenceCount(), 1u);
}

TEST_F(AboutDialogTest, ASecondInitDialogChangesNothing)
{
    Run([&](const AboutWindow& window) {
        LONG_PTR bound = GetWindowLongPtrA(window.Handle(), DWLP_USER);
        ASSERT_NE(bound, 0);
        SendMessageA(window.Handle(), WM_INITDIALOG, 0, bound);
        EXPECT_EQ(window.Lines().size(), static_cast<std::size_t>(kLineCount));
        EXPECT_EQ(GetWindowLongPtrA(window.Handle(), DWLP_USER), bound);
        window.Click(IDOK);
    });
}

TEST_F(AboutDialogTest, NoOwnerWindow)
{
    DialogRun run = RunDialog([&] { return registry_.ShowAbout(nullptr, &moduleSet_); },
                              [&](const AboutWindow& window) {
                                  EXPECT_EQ(window.Lines().size(), static_cast<std::size_t>(kLineCount));
                                  window.Click(IDOK);
                              });
    EXPECT_TRUE(run.appeared);
    EXPECT_EQ(run.result, 1);
}

TEST(ShowAbout, EmptyModuleSetGivesAnEmptyList)
{
    RegistryCopy registry;
    ModuleCatalogue empty;
    DialogRun run = RunDialog([&] { return registry.ShowAbout(nullptr, &empty); },
                              [](const AboutWindow& window) {
                                  EXPECT_EQ(window.Lines(), std::vector<std::string>{});
                                  window.Command(IDC_PLUGIN_ABOUT, BN_CLICKED);
                                  window.Command(IDC_PLUGIN_LIST, LBN_SELCHANGE);
                                  window.Command(IDC_PLUGIN_LIST, LBN_DBLCLK);
                                  EXPECT_TRUE(window.Open());
                                  window.Click(IDOK);
                              });
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(run.result, 1);
}

TEST(ShowAbout, InvalidOwnerFailsWithoutADialog)
{
    RegistryCopy registry;
    ModuleCatalogue empty;
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    DialogRun run = RunDialog([&] { return registry.ShowAbout(gone, &empty); },
                              [](const AboutWindow& window) { window.Click(IDOK); });
    EXPECT_FALSE(run.appeared);
    EXPECT_TRUE(run.result == -1 || run.result == 0) << run.result;
}

TEST(ShowAbout, NullModuleSetShowsNothing)
{
    RegistryCopy registry;
    DialogRun run = RunDialog([&] { return registry.ShowAbout(nullptr, nullptr); },
                              [](const AboutWindow& window) { window.Click(IDOK); });
    EXPECT_FALSE(run.appeared);
    EXPECT_EQ(run.result, -1);
}

}  // namespace
