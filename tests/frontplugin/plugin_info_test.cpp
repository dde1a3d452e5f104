// Identity of the front plug-ins: GetPluginInfo's table, which records each build
// takes, a missing briskspi.dll, ConfigurationDlg, and hosts' bad arguments.
#include <gtest/gtest.h>

#include <cstring>

#include "front_host.h"
#include "set_names.h"

namespace {

struct Build {
    const char* file;
    const char* version;
    const char* name;
};
const Build kBuilds[] = {
    {BRISK_IMAGE_FRONT, "00IN", "BriskImport Ver.2.1"},
    {BRISK_ARCHIVE_FRONT, "00AM", "BriskArchive Ver.2.1"},
};

TEST(FrontPluginInfo, VersionAndNameOfEachBuild)
{
    FrontFolder folder;
    for (const Build& build : kBuilds) {
        LoadedFront front(folder / build.file);
        int result = 0;
        EXPECT_EQ(front.PluginInfo(0, 256, &result), build.version) << build.file;
        EXPECT_EQ(result, 5) << build.file;
        std::string nameLine = front.PluginInfo(1, 256, &result);
        EXPECT_EQ(nameLine.compare(0, std::strlen(build.name) + 2, std::string(build.name) + "  "), 0) << nameLine;
        EXPECT_GT(nameLine.size(), std::strlen(build.name) + 2) << "a copyright notice follows the name";
        EXPECT_EQ(result, static_cast<int>(nameLine.size()) + 1);
        // Cut to buflen - 1 characters; the result counts the cut text.
        EXPECT_EQ(front.PluginInfo(1, 8, &result), std::string(build.name, 7)) << build.file;
        EXPECT_EQ(result, 8);
        // An empty catalogue: the table ends after the name.
        EXPECT_EQ(front.PluginInfo(2, 256, &result), "");
        EXPECT_EQ(result, 0);
    }
}

TEST(FrontPluginInfo, TableFromTheCatalogueRecordsOfTheOwnVersion)
{
    FrontFolder folder;
    FakePlugin first = folder.AddFake("first.spi", "all", "");
    FakePlugin archive = folder.AddFake("archive.spi", "all", "");
    FakePlugin second = folder.AddFake("second.spi", "all", "");
    FakePlugin nearly = folder.AddFake("nearly.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(first, "00IN", {{"*.aa;*.bb", "Aa pictures"}}) +
                          FakeRecord(archive, "00AM", {{"*.zz;*.*", "Zz archives"}}) +
                          FakeRecord(second, "00IN", {{"*", "Everything"}, {"*.*;*.cc;*.;*.c*", "Cc pictures"}}) +
                          FakeRecord(nearly, "00IN ", {{"*.nn", "Not quite"}}) +
                          FakeRecord(nearly, "00in", {{"*.nn", "Lower case"}}));
    struct Entry {
        int infono;
        const char* text;
        int result;
    };
    const Entry image[] = {
        {2, "*.aa;*.bb", 10}, {3, "Aa pictures", 12}, {4, "", 1},  {5, "Everything", 11},
        {6, "*.cc;*.c*", 10}, {7, "Cc pictures", 12}, {8, "", 0},
    };
    const Entry arc[] = {{2, "*.zz", 5}, {3, "Zz archives", 12}, {4, "", 0}};

    LoadedFront imp(folder.Imp());
    for (const Entry& entry : image) {
        int result = -5;
        EXPECT_EQ(imp.PluginInfo(entry.infono, 256, &result), entry.text) << "BriskImp " << entry.infono;
        EXPECT_EQ(result, entry.result) << "BriskImp " << entry.infono;
    }
    LoadedFront arcFront(folder.Arc());
    for (const Entry& entry : arc) {
        int result = -5;
        EXPECT_EQ(arcFront.PluginInfo(entry.infono, 256, &result), entry.text) << "BriskArc " << entry.infono;
        EXPECT_EQ(result, entry.result) << "BriskArc " << entry.infono;
    }
    // Reporting the patterns loads nobody.
    for (const FakePlugin* fake : {&first, &archive, &second, &nearly})
        EXPECT_EQ(fake->Count("attach"), 0) << fake->Path();
}

TEST(FrontPluginInfo, CutTextsAndUntouchedBytes)
{
    FrontFolder folder;
    LoadedFront front(folder.Imp());
    struct Case {
        int infono;
        int buflen;
        const char* text;
        int result;
    };
    const Case cases[] = {
        {0, 1, "", 1}, {0, 2, "0", 2}, {0, 4, "00I", 4}, {0, 5, "00IN", 5}, {0, 6, "00IN", 5},
    };
    for (const Case& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        int result = front.GetPluginInfo(c.infono, buffer, c.buflen);
        EXPECT_EQ(result, c.result) << "buflen " << c.buflen;
        EXPECT_STREQ(buffer, c.text) << "buflen " << c.buflen;
        for (int i = c.buflen; i < static_cast<int>(sizeof buffer); ++i)
            EXPECT_EQ(buffer[i], '#') << "buflen " << c.buflen << " byte " << i;
    }
}

TEST(FrontPluginInfo, BadArgumentsWriteNothingAndAnswerZero)
{
    FrontFolder folder;
    LoadedFront front(folder.Imp());
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(front.GetPluginInfo(0, nullptr, 256), 0);
    EXPECT_EQ(front.GetPluginInfo(0, buffer, 0), 0);
    EXPECT_EQ(front.GetPluginInfo(0, buffer, -1), 0);
    EXPECT_EQ(front.GetPluginInfo(-1, buffer, sizeof buffer), 0);
    EXPECT_EQ(front.GetPluginInfo(-2147483647 - 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(front.GetPluginInfo(2147483647, buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'));
    // Still working afterwards.
    EXPECT_EQ(front.PluginInfo(0), "00IN");
}

TEST(FrontPluginInfo, MissingRegistryLibrary)
{
    FrontFolder folder(false);
    FakePlugin fake = folder.AddFake("fake.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"*.aa", "Aa"}}) + FakeRecord(fake, "00AM", {{"*.aa", "Aa"}}));
    LoadedFront imp(folder.Imp());
    int result = -5;
    EXPECT_EQ(imp.PluginInfo(0, 256, &result), "00IN");
    EXPECT_EQ(imp.PluginInfo(2, 256, &result), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(imp.IsSupported("x.aa", 0), 0);
    EXPECT_EQ(imp.GetPicture("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiUnknownFormat);
    EXPECT_EQ(imp.GetPreview("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiNotImplemented);
    EXPECT_EQ(imp.ConfigurationDlg(nullptr, 0), 0);
    EXPECT_EQ(imp.ConfigurationDlg(nullptr, 1), 0);

    // The failed load is not retried, even once the library is there.
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder.Registry());
    EXPECT_EQ(imp.PluginInfo(2, 256, &result), "");
    EXPECT_EQ(imp.IsSupported("y.aa", 0), 0);
    EXPECT_FALSE(IsLoaded(folder.Registry()));
    EXPECT_EQ(fake.Count("attach"), 0);

    // The archive build loads it on its own first call.
    LoadedFront arc(folder.Arc());
    EXPECT_EQ(arc.PluginInfo(2), "*.aa");
    EXPECT_TRUE(IsLoaded(folder.Registry()));
}

TEST(FrontConfigurationDlg, OnlyAboutAndSettingsAreHandled)
{
    // Without briskspi.dll there is no dialog to show, so fnc 0 and 1 return at once.
    FrontFolder folder(false);
    for (const Build& build : kBuilds) {
        LoadedFront front(folder / build.file);
        for (int fnc : {2, -1, 100})
            EXPECT_EQ(front.ConfigurationDlg(nullptr, fnc), kSpiNotImplemented) << build.file << " fnc " << fnc;
        for (int fnc : {0, 1})
            EXPECT_EQ(front.ConfigurationDlg(nullptr, fnc), 0) << build.file << " fnc " << fnc;
    }
}

TEST(FrontConfigurationDlg, UnknownFunctionDoesNotLoadTheRegistry)
{
    FrontFolder folder;
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.ConfigurationDlg(nullptr, 2), kSpiNotImplemented);
    EXPECT_FALSE(IsLoaded(folder.Registry()));
}

TEST(FrontPluginExports, EachBuildExportsItsOwnSix)
{
    FrontFolder folder;
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    for (const LoadedFront* front : {&imp, &arc}) {
        EXPECT_NE(front->GetPluginInfo, nullptr);
        EXPECT_NE(front->IsSupported, nullptr);
        EXPECT_NE(front->ConfigurationDlg, nullptr);
    }
    EXPECT_TRUE(imp.GetPictureInfo && imp.GetPicture && imp.GetPreview);
    EXPECT_FALSE(imp.GetArchiveInfo || imp.GetFileInfo || imp.GetFile);
    EXPECT_TRUE(arc.GetArchiveInfo && arc.GetFileInfo && arc.GetFile);
    EXPECT_FALSE(arc.GetPictureInfo || arc.GetPicture || arc.GetPreview);
}

}  // namespace
