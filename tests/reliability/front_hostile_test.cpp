// Hosts' arguments at their limits and catalogued plug-ins that fail in every way a
// library can, on both front plug-ins.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#include "front_host.h"
#include "set_names.h"

namespace {

const char* const kFronts[] = {BRISK_IMAGE_FRONT, BRISK_ARCHIVE_FRONT};
constexpr LONG_PTR kLongPtrMin = static_cast<LONG_PTR>(static_cast<ULONG_PTR>(1) << (sizeof(LONG_PTR) * 8 - 1));

// A name of exactly `size` bytes in `folder`, ending in `extension`.
std::string NameOfSize(const std::string& folder, std::size_t size, const std::string& extension)
{
    return folder + std::string(size - folder.size() - extension.size(), 'n') + extension;
}

void FreeHandles(std::initializer_list<HLOCAL> handles)
{
    for (HLOCAL handle : handles) {
        if (handle)
            LocalFree(handle);
    }
}

TEST(HostArgumentsAtTheirLimits, GetPluginInfoOutsideTheTableOrTheBufferWritesNothing)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "all", "");
    FakePlugin archive = folder.AddFake("archive.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.img", "Images"}}) +
                          FakeRecord(archive, "00AM", {{"*.arc", "Archives"}}));
    struct Case {
        int infono;
        int buflen;
    };
    const Case cases[] = {{4, 64},  {INT_MAX, 64}, {-1, 64},     {INT_MIN, 64}, {0, 0},
                          {3, 0},   {0, -1},       {0, INT_MIN}, {-1, -1},      {INT_MIN, INT_MIN}};
    for (const char* file : kFronts) {
        LoadedFront front(folder / file);
        for (const Case& c : cases) {
            char buffer[96];
            std::memset(buffer, '#', sizeof buffer);
            EXPECT_EQ(front.GetPluginInfo(c.infono, buffer + 16, c.buflen), 0)
                << file << " infono " << c.infono << " buflen " << c.buflen;
            EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'))
                << file << " infono " << c.infono << " buflen " << c.buflen;
        }
        EXPECT_EQ(front.GetPluginInfo(3, nullptr, 64), 0);
        EXPECT_EQ(front.GetPluginInfo(3, nullptr, 0), 0);
        char two[2] = {'#', '#'};
        EXPECT_EQ(front.GetPluginInfo(3, two, 1), 1) << "room for the terminating zero only";
        EXPECT_EQ(two[0], '\0');
        EXPECT_EQ(two[1], '#');
        // Nothing above disturbed the table.
        EXPECT_EQ(front.PluginInfo(3), std::string(file) == BRISK_IMAGE_FRONT ? "Images" : "Archives");
    }
}

TEST(HostArgumentsAtTheirLimits, ConfigurationDlgRefusesUnknownFunctionsWhateverTheParent)
{
    FrontFolder folder;
    for (const char* file : kFronts) {
        LoadedFront front(folder / file);
        for (int fnc : {-1, 2, 3, INT_MAX, INT_MIN}) {
            EXPECT_EQ(front.ConfigurationDlg(nullptr, fnc), kSpiNotImplemented) << file << " fnc " << fnc;
            EXPECT_EQ(front.ConfigurationDlg(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xdead0)), fnc),
                      kSpiNotImplemented)
                << file << " fnc " << fnc;
        }
    }
}

TEST(HostArgumentsAtTheirLimits, EmptyNullAndHundredThousandByteNamesReachThePluginsUnchanged)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "all", "");
    FakePlugin archive = folder.AddFake("archive.spi", "all", "entries=a.txt\ncontent.a.txt=A\n");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "Pictures"}}) +
                          FakeRecord(archive, "00AM", {{"*.pic", "Picture archives"}}));
    const std::string longName = NameOfSize(folder.Path(), 100000, ".pic");
    const std::string longOther = NameOfSize(folder.Path(), 100000, ".xyz");

    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    for (LoadedFront* front : {&imp, &arc}) {
        // The empty name equals the empty remembered rejected name; a null name is nobody's.
        EXPECT_EQ(front->IsSupported("", 0), 0);
        EXPECT_EQ(front->IsSupported(nullptr, 0), 0);
        EXPECT_EQ(front->IsSupported(longOther.c_str(), 0), 0);
        EXPECT_EQ(front->IsSupported(longOther.c_str(), 0), 0);
        EXPECT_EQ(front->IsSupported(longName.c_str(), 1), 1);
    }
    for (const FakePlugin* fake : {&image, &archive}) {
        EXPECT_EQ(fake->Count("IsSupported|"), 1);
        EXPECT_EQ(fake->Count("IsSupported|" + longName + "|1"), 1);
    }

    SpiPictureInfo info = {};
    EXPECT_EQ(imp.GetPictureInfo(longName.c_str(), 0, 0, &info), 0);
    EXPECT_EQ(info.width, 2);
    HLOCAL bitmapInfo = nullptr, bits = nullptr;
    EXPECT_EQ(imp.GetPicture(longName.c_str(), 0, 0, &bitmapInfo, &bits, nullptr, 0), 0);
    EXPECT_NE(bits, nullptr);
    FreeHandles({bitmapInfo, bits});
    HLOCAL table = nullptr;
    EXPECT_EQ(arc.GetArchiveInfo(longName.c_str(), 0, 0, &table), 0);
    EXPECT_NE(table, nullptr);
    FreeHandles({table});
    HLOCAL extracted = nullptr;
    EXPECT_EQ(arc.GetFile(longName.c_str(), 0, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr, 0), 0);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(LocalSize(extracted), 1u);
    FreeHandles({extracted});
    EXPECT_EQ(image.Count("GetPicture|" + longName + "|0|0"), 1);
    EXPECT_EQ(archive.Count("GetFile|" + longName + "|0|memory|256"), 1);
}

// How many of the fake's logged calls start with `prefix` and end with `suffix`.
int CountCalls(const FakePlugin& fake, const std::string& prefix, const std::string& suffix)
{
    int count = 0;
    for (const std::string& line : fake.Calls()) {
        if (line.size() >= prefix.size() + suffix.size() && line.compare(0, prefix.size(), prefix) == 0 &&
            line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0)
            ++count;
    }
    return count;
}

// The front plug-in forwards the host's values as they are, however odd; only the
// candidates judge them.
TEST(HostArgumentsAtTheirLimits, DispatchPassesExtremeValuesThroughUnchanged)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "all", "");
    FakePlugin archive = folder.AddFake("archive.spi", "all", "GetFileInfo=3\n");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*", "All"}}) + FakeRecord(archive, "00AM", {{"*", "All"}}));
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    ASSERT_EQ(imp.IsSupported("x", 0), 1);
    ASSERT_EQ(arc.IsSupported("x", 0), 1);

    struct Case {
        LONG_PTR len;
        unsigned int flag;
    };
    const Case cases[] = {{-1, 0}, {kLongPtrMin, 0}, {LONG_PTR(0x7fffffff), 0}, {0, UINT_MAX}, {12, 0x80000001u}};
    for (const Case& c : cases) {
        std::string values = std::to_string(c.len) + "|" + std::to_string(c.flag);
        SpiPictureInfo info;
        EXPECT_EQ(imp.GetPictureInfo(nullptr, c.len, c.flag, &info), 0) << values;
        EXPECT_EQ(arc.GetFileInfo(nullptr, c.len, nullptr, c.flag, nullptr), kSpiUnknownFormat) << values;
        EXPECT_EQ(CountCalls(image, "GetPictureInfo|", "|" + values), 1) << values;
        EXPECT_EQ(CountCalls(archive, "GetFileInfo|", "|" + std::to_string(c.len) + "|(null)|" +
                                                          std::to_string(c.flag)),
                  1)
            << values;
    }
}

TEST(FaultyCataloguedPlugins, ThoseThatCannotLoadOrLackEntryPointsAreSkippedAndNotRetried)
{
    FrontFolder folder;
    WriteFileBytes(folder / "text.spi", "this is no library\r\n");
    WriteFileBytes(folder / "empty.spi", "");
    WriteFileBytes(folder / "truncated.spi", "MZ" + std::string(62, '\0'));
    std::string noise(65536, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteFileBytes(folder / "noise.spi", "MZ" + noise);
    CreateDirectoryA((folder / "folder.spi").c_str(), nullptr);
    FakePlugin refuses = folder.AddFake("refuses.spi", "all", "refuseLoad=1\n");
    FakePlugin infoOnly = folder.AddFake("info_only.spi", "info_only", "");
    FakePlugin archiveOnly = folder.AddFake("archive_only.spi", "archive", "");
    FakePlugin noInfo = folder.AddFake("no_info.spi", "no_info", "GetPicture=4\n");
    FakePlugin good = folder.AddFake("good.spi", "all", "");
    const std::string unloadable[] = {folder / "missing.spi", folder / "text.spi",   folder / "empty.spi",
                                      folder / "truncated.spi", folder / "noise.spi", folder / "folder.spi",
                                      folder.Path() + std::string(100000, 'x') + ".spi"};
    std::string catalogue;
    for (const std::string& path : unloadable)
        catalogue += CatalogueRecord(path, "00IN", "Unloadable", false, {{"*.pic", "Pictures"}});
    for (const FakePlugin* fake : {&refuses, &infoOnly, &archiveOnly, &noInfo, &good})
        catalogue += FakeRecord(*fake, "00IN", {{"*.pic", "Pictures"}});
    folder.WriteCatalogue(catalogue);

    LoadedFront front(folder.Imp());
    for (const char* name : {"a.pic", "b.pic", "c.pic"}) {
        EXPECT_EQ(front.IsSupported(name, 0), 1) << name;
        HLOCAL bitmapInfo = nullptr, bits = nullptr;
        EXPECT_EQ(front.GetPicture(name, 0, 0, &bitmapInfo, &bits, nullptr, 0), 0) << name;
        FreeHandles({bitmapInfo, bits});
        // No catalogued plug-in offers a preview but good.spi.
        EXPECT_EQ(front.GetPreview(name, 0, 0, &bitmapInfo, &bits, nullptr, 0), 0) << name;
        FreeHandles({bitmapInfo, bits});
    }
    for (const std::string& path : unloadable)
        EXPECT_FALSE(IsLoaded(path)) << path.substr(0, 200);
    // Each was loaded (or refused) once; none was asked again after failing.
    EXPECT_EQ(refuses.Count("attach"), 1);
    EXPECT_EQ(refuses.Count("IsSupported|"), 0);
    EXPECT_FALSE(IsLoaded(refuses.Path()));
    EXPECT_EQ(infoOnly.Count("attach"), 1);
    EXPECT_EQ(archiveOnly.Count("attach"), 1);
    // archive_only.spi accepts but has no picture functions; no_info.spi lacks only
    // GetPluginInfo and GetPreview, and its failing GetPicture gives way to good.spi.
    EXPECT_EQ(archiveOnly.Count("IsSupported|"), 3);
    EXPECT_EQ(noInfo.Count("GetPicture|"), 3);
    EXPECT_EQ(good.Count("GetPicture|"), 3);
    EXPECT_EQ(good.Count("GetPreview|"), 3);
    EXPECT_EQ(good.Count("attach"), 1);
}

TEST(FaultyCataloguedPlugins, AnyAnswerCodeGivesWayToTheNextCandidate)
{
    const int codes[] = {-1, 1, 2, 3, 4, 5, 6, 7, 8, 99, INT_MIN, INT_MAX};
    FrontFolder folder;
    std::vector<FakePlugin> failing;
    std::string images, archives;
    for (int code : codes) {
        std::string c = std::to_string(code);
        std::string config = "IsSupported=" + c + "\n";
        for (const char* call : {"GetPictureInfo", "GetPicture", "GetPreview", "GetArchiveInfo", "GetFileInfo", "GetFile"})
            config += std::string(call) + "=" + c + "\n";
        failing.emplace_back(folder.Path(), "code" + std::to_string(failing.size()) + ".spi", "all", config);
        // "*.cN" also reaches the good plug-in below; "*.onlyN" reaches only this one.
        std::string patterns = "*.c" + std::to_string(failing.size()) + ";*.only" + std::to_string(failing.size());
        images += FakeRecord(failing.back(), "00IN", {{patterns, "Failing"}});
        archives += FakeRecord(failing.back(), "00AM", {{patterns, "Failing"}});
    }
    FakePlugin good = folder.AddFake("good.spi", "all", "entries=a.txt\ncontent.a.txt=A\n");
    folder.WriteCatalogue(images + archives + FakeRecord(good, "00IN", {{"*.c*", "Good"}}) +
                          FakeRecord(good, "00AM", {{"*.c*", "Good"}}));
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    for (std::size_t i = 1; i <= failing.size(); ++i) {
        SCOPED_TRACE("code " + std::to_string(codes[i - 1]));
        std::string shared = "x.c" + std::to_string(i);
        std::string alone = "x.only" + std::to_string(i);
        HLOCAL first = nullptr, second = nullptr;
        SpiPictureInfo pictureInfo;
        SpiFileInfo fileInfo;
        // Any non-zero answer accepts; the front plug-in answers exactly 1.
        EXPECT_EQ(imp.IsSupported(shared.c_str(), 0), 1);
        EXPECT_EQ(imp.GetPictureInfo(shared.c_str(), 0, 0, &pictureInfo), 0);
        EXPECT_EQ(imp.GetPicture(shared.c_str(), 0, 0, &first, &second, nullptr, 0), 0);
        FreeHandles({first, second});
        EXPECT_EQ(arc.IsSupported(shared.c_str(), 0), 1);
        EXPECT_EQ(arc.GetArchiveInfo(shared.c_str(), 0, 0, &first), 0);
        FreeHandles({first});
        EXPECT_EQ(arc.GetFileInfo(shared.c_str(), 0, "a.txt", 0, &fileInfo), 0);

        // The only candidate fails: the export's own result, whatever the code was.
        EXPECT_EQ(imp.IsSupported(alone.c_str(), 0), 1);
        EXPECT_EQ(imp.GetPictureInfo(alone.c_str(), 0, 0, &pictureInfo), kSpiUnknownFormat);
        EXPECT_EQ(imp.GetPicture(alone.c_str(), 0, 0, &first, &second, nullptr, 0), kSpiUnknownFormat);
        EXPECT_EQ(imp.GetPreview(alone.c_str(), 0, 0, &first, &second, nullptr, 0), kSpiNotImplemented);
        EXPECT_EQ(arc.IsSupported(alone.c_str(), 0), 1);
        EXPECT_EQ(arc.GetArchiveInfo(alone.c_str(), 0, 0, &first), kSpiUnknownFormat);
        EXPECT_EQ(arc.GetFileInfo(alone.c_str(), 0, "a.txt", 0, &fileInfo), kSpiUnknownFormat);
        std::string destination = folder.Path();
        EXPECT_EQ(arc.GetFile(alone.c_str(), 0, &destination[0], 0, nullptr, 0), kSpiUnknownFormat);
    }
    EXPECT_EQ(good.Count("GetPicture|"), static_cast<int>(failing.size()));
}

// What the host's progress callback does from inside a forwarded call.
struct Reentry {
    LoadedFront* front;
    std::vector<int> results;
};

int WINAPI ReenteringProgress(int, int, LONG_PTR data)
{
    Reentry& reentry = *reinterpret_cast<Reentry*>(data);
    LoadedFront& front = *reentry.front;
    char buffer[16];
    HLOCAL first = nullptr, second = nullptr;
    reentry.results.push_back(front.GetPluginInfo(0, buffer, sizeof buffer));
    reentry.results.push_back(front.IsSupported("x.pic", 0));
    reentry.results.push_back(front.ConfigurationDlg(nullptr, 0));
    if (front.GetPicture) {
        reentry.results.push_back(front.GetPicture("x.pic", 0, 0, &first, &second, nullptr, 0));
        reentry.results.push_back(front.GetPreview("x.pic", 0, 0, &first, &second, nullptr, 0));
    } else {
        reentry.results.push_back(front.GetArchiveInfo("x.pic", 0, 0, &first));
        reentry.results.push_back(front.GetFile("x.pic", 0, reinterpret_cast<LPSTR>(&first), kSpiOutputMemory,
                                                nullptr, 0));
    }
    return 0;
}

TEST(FaultyCataloguedPlugins, CallsBackIntoTheFrontPluginAreRefusedWithoutHarm)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "all", "reenter=" BRISK_IMAGE_FRONT "\ncallback=1\n");
    FakePlugin archive = folder.AddFake("archive.spi", "all",
                                        "reenter=" BRISK_ARCHIVE_FRONT "\ncallback=1\nentries=a.txt\ncontent.a.txt=A\n");
    FakePlugin crossing = folder.AddFake("crossing.spi", "all", "reenter=" BRISK_ARCHIVE_FRONT "\n");
    FakePlugin target = folder.AddFake("target.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "Pictures"}}) +
                          FakeRecord(archive, "00AM", {{"*.pic", "Picture archives"}}) +
                          FakeRecord(crossing, "00IN", {{"*.cross", "Crossing"}}) +
                          FakeRecord(target, "00AM", {{"reentered.*", "Target"}}));
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());

    // From a catalogued plug-in's IsSupported and GetPicture into the same front plug-in.
    EXPECT_EQ(imp.IsSupported("x.pic", 0), 1);
    Reentry impReentry{&imp, {}};
    HLOCAL first = nullptr, second = nullptr;
    EXPECT_EQ(imp.GetPicture("x.pic", 0, 0, &first, &second, ReenteringProgress,
                             reinterpret_cast<LONG_PTR>(&impReentry)),
              0);
    FreeHandles({first, second});
    EXPECT_EQ(image.Count("reenter|IsSupported|0"), 2);
    // The host's callback, called by the plug-in, gets every busy result.
    EXPECT_EQ(impReentry.results, (std::vector<int>{0, 0, kSpiNotImplemented, kSpiUnknownFormat, kSpiNotImplemented}));
    EXPECT_EQ(image.Count("callback|0"), 1);

    EXPECT_EQ(arc.IsSupported("x.pic", 0), 1);
    Reentry arcReentry{&arc, {}};
    HLOCAL extracted = nullptr;
    EXPECT_EQ(arc.GetFile("x.pic", 0, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, ReenteringProgress,
                          reinterpret_cast<LONG_PTR>(&arcReentry)),
              0);
    FreeHandles({extracted});
    EXPECT_EQ(arcReentry.results, (std::vector<int>{0, 0, kSpiNotImplemented, kSpiUnknownFormat, kSpiUnknownFormat}));

    // Into the other front plug-in: not refused, it answers from its own catalogue.
    EXPECT_EQ(imp.IsSupported("y.cross", 0), 1);
    EXPECT_EQ(crossing.Count("reenter|IsSupported|1"), 1);
    EXPECT_EQ(target.Count("IsSupported|reentered.name|0"), 1);

    // Nothing stayed busy.
    EXPECT_EQ(imp.PluginInfo(0), "00IN");
    EXPECT_EQ(arc.PluginInfo(0), "00AM");
    EXPECT_EQ(imp.IsSupported("z.pic", 0), 1);
}

TEST(HostileCatalogueThroughTheFront, HundredThousandRecordsStayUsable)
{
    FrontFolder folder;
    std::string catalogue;
    for (int i = 0; i < 100000; ++i) {
        std::string n = std::to_string(i);
        catalogue += CatalogueRecord(folder / ("p" + n + ".spi"), "00IN", "P" + n, false, {{"*.p" + n, "Ps " + n}});
    }
    folder.WriteCatalogue(catalogue);
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(imp.PluginInfo(200000), "*.p99999");
    EXPECT_EQ(imp.PluginInfo(200001), "Ps 99999");
    int result = -1;
    imp.PluginInfo(200002, 64, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(imp.IsSupported("x.none", 0), 0);
    EXPECT_EQ(imp.IsSupported("x.p99999", 0), 0);
    EXPECT_EQ(arc.PluginInfo(2, 64, &result), "");
    EXPECT_EQ(result, 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("front plug-in with 100000 records: table, two probes of 100000 records: %.2f s\n", seconds);
    EXPECT_LT(seconds, 30.0);
}

}  // namespace
