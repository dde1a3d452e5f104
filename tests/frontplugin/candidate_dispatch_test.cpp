// The dispatching exports: the host's request goes to the last probe's candidates in
// order until one returns 0; what the host gets when none does; nested calls.
#include <gtest/gtest.h>

#include <map>

#include "front_host.h"

namespace {

// Two candidates for "x.aa" in one front folder, configured by the test.
struct TwoCandidates {
    TwoCandidates(const std::string& firstConfig, const std::string& secondConfig,
                  const std::string& variant = "all", const std::string& version = "00IN")
        : first(folder.AddFake("first.spi", variant, firstConfig)),
          second(folder.AddFake("second.spi", variant, secondConfig))
    {
        folder.WriteCatalogue(FakeRecord(first, version, {{"*.aa", "A"}}) +
                              FakeRecord(second, version, {{"*.aa", "A"}}));
    }
    FrontFolder folder;
    FakePlugin first;
    FakePlugin second;
};

TEST(CandidateDispatch, FirstZeroWinsAndOtherCodesAreNeverPassedOn)
{
    struct Case {
        const char* name;
        const char* firstConfig;
        const char* secondConfig;
        int result;
        int secondCalls;
    };
    const Case cases[] = {
        {"first fails, second succeeds", "GetPicture=2\n", "GetPicture=0\n", 0, 1},
        {"first succeeds", "GetPicture=0\n", "GetPicture=0\n", 0, 0},
        {"both fail", "GetPicture=4\n", "GetPicture=6\n", kSpiUnknownFormat, 1},
        {"cancelled, then not implemented", "GetPicture=1\n", "GetPicture=-1\n", kSpiUnknownFormat, 1},
    };
    for (const Case& c : cases) {
        TwoCandidates plugins(c.firstConfig, std::string(c.secondConfig) + "mark=77\n");
        LoadedFront front(plugins.folder.Imp());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1) << c.name;
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        EXPECT_EQ(front.GetPicture("x.aa", 12, 0, &info, &bits, nullptr, 0), c.result) << c.name;
        EXPECT_EQ(plugins.first.Count("GetPicture|x.aa|12|0"), 1) << c.name;
        EXPECT_EQ(plugins.second.Count("GetPicture|x.aa|12|0"), c.secondCalls) << c.name;
        if (c.result == 0 && c.secondCalls == 1) {
            // The handles are those the succeeding second candidate wrote.
            ASSERT_NE(bits, nullptr) << c.name;
            EXPECT_EQ(static_cast<BYTE*>(LocalLock(bits))[0], 77) << c.name;
            LocalUnlock(bits);
        }
        LocalFree(info);
        LocalFree(bits);
    }
}

TEST(CandidateDispatch, ArgumentsReachTheCandidateUnchanged)
{
    TwoCandidates plugins("GetPictureInfo=3\n", "");
    LoadedFront front(plugins.folder.Imp());
    ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
    // A memory image of another file, without a new probe: still the last probe's
    // candidates, and buf, len and flag as the host gave them.
    const char image[] = "image bytes";
    SpiPictureInfo info = {};
    EXPECT_EQ(front.GetPictureInfo(image, sizeof image, kSpiInputMemory | 0x80, &info), 0);
    char pointer[32];
    std::snprintf(pointer, sizeof pointer, "%p", static_cast<const void*>(image));
    std::string expected = "GetPictureInfo|memory:" + std::string(pointer) + "|" + std::to_string(sizeof image) + "|" +
                           std::to_string(kSpiInputMemory | 0x80);
    EXPECT_EQ(plugins.first.Count(expected), 1);
    EXPECT_EQ(plugins.second.Count(expected), 1);
    EXPECT_EQ(info.width, 2);  // filled by the second candidate through the host's pointer
}

// "x.aa" names no file here, so the front plug-in cannot probe it for the request
// itself either (request_probe_test.cpp has the files that can be read).
TEST(CandidateDispatch, NoCandidatesAndNoFileToProbeMeansNothingIsCalled)
{
    TwoCandidates images("", "");
    LoadedFront imp(images.folder.Imp());
    EXPECT_EQ(imp.GetPictureInfo("x.aa", 0, 0, nullptr), kSpiUnknownFormat);
    EXPECT_EQ(imp.GetPicture("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiUnknownFormat);
    EXPECT_EQ(imp.GetPreview("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiNotImplemented);
    // A probe that found nobody leaves the same answers.
    EXPECT_EQ(imp.IsSupported("x.bb", 0), 0);
    EXPECT_EQ(imp.GetPicture("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiUnknownFormat);
    EXPECT_EQ(images.first.Count("attach"), 0);

    TwoCandidates archives("", "", "all", "00AM");
    LoadedFront arc(archives.folder.Arc());
    EXPECT_EQ(arc.GetArchiveInfo("x.aa", 0, 0, nullptr), kSpiUnknownFormat);
    EXPECT_EQ(arc.GetFileInfo("x.aa", 0, "a.txt", 0, nullptr), kSpiUnknownFormat);
    EXPECT_EQ(arc.GetFile("x.aa", 0, nullptr, 0, nullptr, 0), kSpiUnknownFormat);
}

TEST(CandidateDispatch, AbsentEntryPointsAreSkippedAndOnlyGetPreviewAnswersMinusOne)
{
    // "noconfig" fakes export IsSupported, GetPictureInfo and GetPicture, no GetPreview.
    {
        TwoCandidates plugins("", "", "noconfig");
        LoadedFront front(plugins.folder.Imp());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
        EXPECT_EQ(front.GetPreview("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiNotImplemented);
        EXPECT_EQ(plugins.first.Count("GetPreview|"), 0);
    }
    {
        // A failing GetPreview also ends in -1; GetPicture of the same candidates in 2.
        TwoCandidates plugins("GetPreview=3\nGetPicture=3\n", "GetPreview=5\nGetPicture=5\n");
        LoadedFront front(plugins.folder.Imp());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
        EXPECT_EQ(front.GetPreview("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiNotImplemented);
        EXPECT_EQ(front.GetPicture("x.aa", 0, 0, nullptr, nullptr, nullptr, 0), kSpiUnknownFormat);
        EXPECT_EQ(plugins.second.Count("GetPreview|"), 1);
    }
    {
        // The first candidate lacks GetPreview; the second one answers.
        FrontFolder folder;
        FakePlugin without = folder.AddFake("without.spi", "noconfig", "");
        FakePlugin with = folder.AddFake("with.spi", "all", "");
        folder.WriteCatalogue(FakeRecord(without, "00IN", {{"*.aa", "A"}}) + FakeRecord(with, "00IN", {{"*.aa", "A"}}));
        LoadedFront front(folder.Imp());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        EXPECT_EQ(front.GetPreview("x.aa", 0, 0, &info, &bits, nullptr, 0), 0);
        EXPECT_EQ(with.Count("GetPreview|"), 1);
        LocalFree(info);
        LocalFree(bits);
    }
    {
        // Archive candidates without the archive entry points: 2 from all three, never -1.
        TwoCandidates plugins("", "", "image", "00AM");
        LoadedFront front(plugins.folder.Arc());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
        EXPECT_EQ(front.GetArchiveInfo("x.aa", 0, 0, nullptr), kSpiUnknownFormat);
        EXPECT_EQ(front.GetFileInfo("x.aa", 0, "a.txt", 0, nullptr), kSpiUnknownFormat);
        EXPECT_EQ(front.GetFile("x.aa", 0, nullptr, 0, nullptr, 0), kSpiUnknownFormat);
    }
    {
        TwoCandidates plugins("GetArchiveInfo=3\n", "entries=one.txt\n", "all", "00AM");
        LoadedFront front(plugins.folder.Arc());
        ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
        HLOCAL table = nullptr;
        EXPECT_EQ(front.GetArchiveInfo("x.aa", 0, 0, &table), 0);
        ASSERT_NE(table, nullptr);
        EXPECT_STREQ(static_cast<SpiFileInfo*>(LocalLock(table))->fileName, "one.txt");
        LocalUnlock(table);
        LocalFree(table);
    }
}

// What the host's progress callback saw when it called back into the same front
// plug-in while one of its exports was running.
struct NestedCalls {
    const LoadedFront* front = nullptr;
    std::map<std::string, int> results;
};

int WINAPI CallBackIntoTheFront(int, int, LONG_PTR data)
{
    NestedCalls& nested = *reinterpret_cast<NestedCalls*>(data);
    const LoadedFront& front = *nested.front;
    char buffer[64] = "";
    nested.results["GetPluginInfo"] = front.GetPluginInfo(0, buffer, sizeof buffer);
    nested.results["IsSupported"] = front.IsSupported("other.aa", 0);
    nested.results["ConfigurationDlg"] = front.ConfigurationDlg(nullptr, 0);
    if (front.GetPicture) {
        nested.results["GetPictureInfo"] = front.GetPictureInfo("x.aa", 0, 0, nullptr);
        nested.results["GetPicture"] = front.GetPicture("x.aa", 0, 0, nullptr, nullptr, nullptr, 0);
        nested.results["GetPreview"] = front.GetPreview("x.aa", 0, 0, nullptr, nullptr, nullptr, 0);
    } else {
        nested.results["GetArchiveInfo"] = front.GetArchiveInfo("x.aa", 0, 0, nullptr);
        nested.results["GetFileInfo"] = front.GetFileInfo("x.aa", 0, "a.txt", 0, nullptr);
        nested.results["GetFile"] = front.GetFile("x.aa", 0, nullptr, 0, nullptr, 0);
    }
    return 0;
}

TEST(CandidateDispatch, NestedCallsFromTheProgressCallbackGetTheirBusyResults)
{
    TwoCandidates plugins("callback=1\n", "");
    LoadedFront front(plugins.folder.Imp());
    ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
    NestedCalls nested;
    nested.front = &front;
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    EXPECT_EQ(front.GetPicture("x.aa", 0, 0, &info, &bits, &CallBackIntoTheFront, reinterpret_cast<LONG_PTR>(&nested)),
              0);
    LocalFree(info);
    LocalFree(bits);
    const std::map<std::string, int> busy = {
        {"GetPluginInfo", 0},  {"IsSupported", 0}, {"ConfigurationDlg", -1},
        {"GetPictureInfo", 2}, {"GetPicture", 2},  {"GetPreview", -1},
    };
    EXPECT_EQ(nested.results, busy);
    EXPECT_EQ(plugins.first.Count("callback|0"), 1);
    // None of the nested calls reached a plug-in or replaced the candidates, and the
    // front plug-in is idle again.
    EXPECT_EQ(plugins.first.Count("IsSupported|"), 1);
    EXPECT_EQ(plugins.second.Count("GetPicture|"), 0);
    EXPECT_EQ(front.PluginInfo(0), "00IN");
    EXPECT_EQ(front.GetPictureInfo("x.aa", 0, 0, nullptr), 0);
}

TEST(CandidateDispatch, NestedCallsDuringGetFileOfTheArchiveBuild)
{
    TwoCandidates plugins("callback=1\nentries=a.txt\ncontent.a.txt=alpha\n", "", "all", "00AM");
    LoadedFront front(plugins.folder.Arc());
    ASSERT_EQ(front.IsSupported("x.aa", 0), 1);
    NestedCalls nested;
    nested.front = &front;
    HLOCAL extracted = nullptr;
    EXPECT_EQ(front.GetFile("x.aa", 0, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, &CallBackIntoTheFront,
                            reinterpret_cast<LONG_PTR>(&nested)),
              0);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(LocalLock(extracted)), 5), "alpha");
    LocalUnlock(extracted);
    LocalFree(extracted);
    const std::map<std::string, int> busy = {
        {"GetPluginInfo", 0},  {"IsSupported", 0}, {"ConfigurationDlg", -1},
        {"GetArchiveInfo", 2}, {"GetFileInfo", 2}, {"GetFile", 2},
    };
    EXPECT_EQ(nested.results, busy);
    EXPECT_EQ(front.PluginInfo(0), "00AM");
}

}  // namespace
