// The About dialog as a host reaches it: through ConfigurationDlg of a front
// plug-in whose catalogue lists fake plug-ins, driven from a second thread.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "about_resources.h"
#include "about_window.h"
#include "front_host.h"
#include "host_window.h"

namespace {

struct Listed {
    const char* file;
    const char* variant;  // null: no file, the plug-in cannot be loaded
    const char* version;
    const char* name;
    bool hasConfig;
    const char* pattern;
};

const Listed kListed[] = {
    {"alpha.spi", "all", "00IN", "Alpha viewer", true, "*.alp"},
    {"packer.spi", "all", "00AM", "Packer", true, "*.pak"},
    {"beta.spi", "all", "00IN", "Beta reader", false, "*.bet"},
    {"missing.spi", nullptr, "00IN", "Missing plug-in", true, "*.mis"},
    {"plain.spi", "noconfig", "00IN", "No settings", true, "*.pla"},
    {"stray.spi", "all", "00IN ", "Stray", true, "*.str"},
    {"twin1.spi", "all", "00IN", "Twin", true, "*.tw1"},
    {"twin2.spi", "all", "00IN", "Twin", true, "*.tw2"},
};
// A plug-in with an empty name cannot be catalogued (the reader skips empty lines);
// the dialog's handling of one is tested with ShowAbout directly.
const std::vector<std::string> kImageLines = {"Alpha viewer", "Beta reader", "Missing plug-in",
                                              "No settings",  "Twin",        "Twin"};
enum ImageLine { kAlpha, kBeta, kMissing, kNoConfig, kTwin1, kTwin2 };

class FrontAboutTest : public ::testing::Test {
protected:
    FrontAboutTest()
    {
        std::string catalogue;
        for (const Listed& listed : kListed) {
            if (listed.variant)
                fakes_.emplace(listed.file, folder_.AddFake(listed.file, listed.variant, ""));
            catalogue += CatalogueRecord(folder_ / listed.file, listed.version, listed.name, listed.hasConfig,
                                         {{listed.pattern, "Files"}});
        }
        folder_.WriteCatalogue(catalogue);
    }

    const FakePlugin& Fake(const char* file) const { return fakes_.at(file); }

    // ConfigurationDlg(host window, fnc) of `front` while `drive` uses the dialog.
    DialogRun Run(LoadedFront& front, int fnc, const std::function<void(const AboutWindow&)>& drive)
    {
        return RunDialog([&] { return front.ConfigurationDlg(host_.Handle(), fnc); }, drive);
    }

    FrontFolder folder_;
    std::map<std::string, FakePlugin> fakes_;
    HostWindow host_;
};

BOOL CALLBACK CountAboutDialogs(HWND window, LPARAM count)
{
    if (CaptionOf(window) == kAboutCaption)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

std::string DialogCall(const AboutWindow& window, int fnc)
{
    return "ConfigurationDlg|" + PointerText(window.Handle()) + "|" + std::to_string(fnc);
}

TEST_F(FrontAboutTest, ImageFrontListsItsPluginsAndOpensTheirDialogs)
{
    LoadedFront imp(folder_.Imp());
    std::vector<std::string> alphaCalls;
    DialogRun run = Run(imp, 0, [&](const AboutWindow& window) {
        EXPECT_EQ(window.Lines(), kImageLines);
        EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), host_.Handle());
        window.Select(kAlpha);
        EXPECT_TRUE(window.Enabled(IDC_PLUGIN_ABOUT) && window.Enabled(IDC_PLUGIN_CONFIG));
        window.Click(IDC_PLUGIN_ABOUT);
        window.Click(IDC_PLUGIN_CONFIG);
        window.DoubleClick(kAlpha);
        window.Select(kBeta);
        EXPECT_FALSE(window.Enabled(IDC_PLUGIN_ABOUT) || window.Enabled(IDC_PLUGIN_CONFIG));
        window.DoubleClick(kBeta);
        for (ImageLine line : {kMissing, kNoConfig}) {
            window.Select(line);
            EXPECT_TRUE(window.Enabled(IDC_PLUGIN_ABOUT)) << line;
            window.Click(IDC_PLUGIN_CONFIG);
        }
        window.Select(kTwin2);
        window.Click(IDC_PLUGIN_ABOUT);
        alphaCalls = {"attach", DialogCall(window, 0), DialogCall(window, 1), DialogCall(window, 0)};
        window.PressKey(VK_ESCAPE);
        window.Command(IDCANCEL, BN_CLICKED);
        Sleep(300);
        EXPECT_TRUE(window.Open()) << "Esc closed the dialog";
        window.PressKey(VK_RETURN);
    });
    EXPECT_TRUE(run.appeared);
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(run.result, 0) << "ConfigurationDlg's result";

    alphaCalls.push_back("detach");
    EXPECT_EQ(Fake("alpha.spi").Calls(), alphaCalls);
    EXPECT_EQ(Fake("beta.spi").Calls(), std::vector<std::string>{});
    EXPECT_EQ(Fake("plain.spi").Calls(), (std::vector<std::string>{"attach", "detach"}));
    EXPECT_EQ(Fake("twin1.spi").Calls(), std::vector<std::string>{});
    EXPECT_EQ(Fake("twin2.spi").Count("ConfigurationDlg|"), 1);
    EXPECT_EQ(Fake("packer.spi").Calls(), std::vector<std::string>{});
    EXPECT_EQ(Fake("stray.spi").Calls(), std::vector<std::string>{});
}

TEST_F(FrontAboutTest, ArchiveFrontListsArchivePluginsForSettingsToo)
{
    LoadedFront arc(folder_.Arc());
    DialogRun run = Run(arc, 1, [&](const AboutWindow& window) {
        EXPECT_EQ(window.Lines(), std::vector<std::string>{"Packer"});
        window.Select(0);
        window.Click(IDC_PLUGIN_CONFIG);
        SendMessageA(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_TRUE(run.closedByDriver);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(Fake("packer.spi").Count("ConfigurationDlg|"), 1);

    DialogRun unknown = Run(arc, 2, [](const AboutWindow& window) { window.Click(IDOK); });
    EXPECT_FALSE(unknown.appeared);
    EXPECT_EQ(unknown.result, -1);
}

TEST_F(FrontAboutTest, CallsIntoTheSameFrontWhileTheDialogIsOpenAreBusyOnItsThreadOnly)
{
    LoadedFront imp(folder_.Imp());
    LoadedFront arc(folder_.Arc());
    std::map<std::string, int> nested;
    std::string arcVersion;
    int dialogsDuringNestedCall = 0;
    int otherThreadProbe = -1;
    Run(imp, 0, [&](const AboutWindow& window) {
        // The host's own window procedure, on the dialog's thread, inside its modal loop.
        host_.RunInWindowThread([&] {
            char buffer[16] = {};
            SpiPictureInfo info = {};
            HLOCAL bitmapInfo = nullptr, bits = nullptr;
            nested["GetPluginInfo"] = imp.GetPluginInfo(0, buffer, sizeof buffer);
            nested["IsSupported"] = imp.IsSupported("x.alp", 0);
            nested["GetPictureInfo"] = imp.GetPictureInfo("x.alp", 0, 0, &info);
            nested["GetPicture"] = imp.GetPicture("x.alp", 0, 0, &bitmapInfo, &bits, nullptr, 0);
            nested["GetPreview"] = imp.GetPreview("x.alp", 0, 0, &bitmapInfo, &bits, nullptr, 0);
            nested["ConfigurationDlg"] = imp.ConfigurationDlg(host_.Handle(), 0);
            arcVersion = arc.PluginInfo(0);
        });
        EnumThreadWindows(GetWindowThreadProcessId(window.Handle(), nullptr), CountAboutDialogs,
                          reinterpret_cast<LPARAM>(&dialogsDuringNestedCall));
        // This driving thread is another thread of the host: it is served meanwhile.
        otherThreadProbe = imp.IsSupported("other.alp", 0);
        window.Click(IDOK);
    });
    EXPECT_EQ(nested, (std::map<std::string, int>{{"GetPluginInfo", 0},
                                                  {"IsSupported", 0},
                                                  {"GetPictureInfo", 2},
                                                  {"GetPicture", 2},
                                                  {"GetPreview", -1},
                                                  {"ConfigurationDlg", -1}}));
    EXPECT_EQ(dialogsDuringNestedCall, 1);
    EXPECT_EQ(arcVersion, "00AM") << "the other front plug-in is not busy";
    EXPECT_EQ(Fake("alpha.spi").Count("IsSupported|x.alp"), 0) << "nested calls reach no plug-in";
    EXPECT_EQ(otherThreadProbe, 1);
    // The dialog is gone; the front answers again.
    EXPECT_EQ(imp.PluginInfo(0), "00IN");
    EXPECT_EQ(imp.IsSupported("x.alp", 0), 1);
}

TEST_F(FrontAboutTest, PluginsLoadedByTheDialogGoWithItThoseOfTheFrontStay)
{
    LoadedFront imp(folder_.Imp());
    ASSERT_EQ(imp.IsSupported("picture.alp", 0), 1);  // the front loads Alpha
    ASSERT_TRUE(IsLoaded(Fake("alpha.spi").Path()));
    for (int session = 1; session <= 2; ++session) {
        Run(imp, 0, [&](const AboutWindow& window) {
            window.Select(kAlpha);
            window.Click(IDC_PLUGIN_ABOUT);
            window.Select(kTwin1);
            for (int i = 0; i < 3; ++i)
                window.Click(IDC_PLUGIN_CONFIG);
            EXPECT_TRUE(IsLoaded(Fake("twin1.spi").Path()));
            EXPECT_EQ(Fake("twin1.spi").Count("attach"), session);
            window.Click(IDOK);
        });
        EXPECT_FALSE(IsLoaded(Fake("twin1.spi").Path())) << "session " << session;
        EXPECT_EQ(Fake("twin1.spi").Count("detach"), session);
        EXPECT_EQ(Fake("twin1.spi").Count("ConfigurationDlg|"), 3 * session);
        EXPECT_TRUE(IsLoaded(Fake("alpha.spi").Path())) << "session " << session;
        EXPECT_EQ(Fake("alpha.spi").Count("attach"), 1);
        EXPECT_EQ(Fake("alpha.spi").Count("detach"), 0);
        EXPECT_EQ(Fake("alpha.spi").Count("ConfigurationDlg|"), session);
    }
    // The front still uses the plug-in it had loaded.
    EXPECT_EQ(imp.IsSupported("other.alp", 0), 1);
    EXPECT_EQ(Fake("alpha.spi").Count("IsSupported|"), 2);
}

}  // namespace
