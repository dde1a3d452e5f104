// What differs between the 32-bit and the 64-bit set: the two sets in one host
// folder, a catalogued plug-in of the other width, and (64-bit only) values and host
// buffers that need all 64 bits.
#include <gtest/gtest.h>

#include <cstring>

#include "bmp_writer.h"
#include "front_host.h"
#include "narrow_programs.h"
#include "set_names.h"

namespace {

// The other width's build folder (its deliverables and sample plug-ins).
std::string OtherSetFolder()
{
    return WineFolder(BRISK_OTHER_SET_BIN);
}

#if defined(_WIN64)
const char* const kOtherSample = "SampleBmp.spi";
const char* const kOtherImp = "BriskImp.spi";
const char* const kOtherArc = "BriskArc.spi";
const char* const kOtherRegistry = "briskspi.dll";
const char* const kOtherCatalogue = "briskspi.txt";
#else
const char* const kOtherSample = "SampleBmp.sph";
const char* const kOtherImp = "BriskImp.sph";
const char* const kOtherArc = "BriskArc.sph";
const char* const kOtherRegistry = "briskspi64.dll";
const char* const kOtherCatalogue = "briskspi64.txt";
#endif

void CopyFromOtherSet(const std::string& name, const std::string& target)
{
    ASSERT_TRUE(CopyFileA((OtherSetFolder() + name).c_str(), target.c_str(), FALSE))
        << "the other width's build is missing (" << OtherSetFolder() + name << "): test.sh builds both";
}

TEST(SetWidth, BothSetsShareOneFolderEachWithItsOwnLibraryAndCatalogue)
{
    FrontFolder folder;
    for (const char* name : {kOtherImp, kOtherArc, kOtherRegistry})
        CopyFromOtherSet(name, folder / name);
    FakePlugin ours = folder.AddFake("ours.spi", "all", "");
    FakePlugin theirs = folder.AddFake("theirs.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(ours, "00IN", {{"*.ours", "Ours"}}) + FakeRecord(ours, "00AM", {{"*.oa", "A"}}));
    WriteFileBytes(folder / kOtherCatalogue,
                   FakeRecord(theirs, "00IN", {{"*.theirs", "Theirs"}}) + FakeRecord(theirs, "00AM", {{"*.ta", "T"}}));

    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    EXPECT_EQ(imp.PluginInfo(2), "*.ours");
    EXPECT_EQ(arc.PluginInfo(2), "*.oa");
    EXPECT_EQ(imp.PluginInfo(4), "");
    EXPECT_EQ(imp.IsSupported((folder / "a.theirs").c_str(), 0), 0);
    EXPECT_EQ(imp.IsSupported((folder / "a.ours").c_str(), 0), 1);
    EXPECT_TRUE(IsLoaded(folder.Registry()));
    EXPECT_FALSE(IsLoaded(folder / kOtherRegistry));
    EXPECT_EQ(theirs.Count("attach"), 0);
    EXPECT_EQ(ours.Count("IsSupported|"), 1);
}

// A plug-in of the other width is served through the helper beside the set: it is a
// candidate like any other, in catalogue order, and the host gets its picture.
TEST(SetWidth, APluginOfTheOtherWidthServesThroughTheHelper)
{
    FrontFolder folder;
    CopyFixture(BRISK_BRIDGE_PROGRAM, folder / BRISK_BRIDGE_PROGRAM);
    const std::string otherWidth = folder / "other_width.spi";
    CopyFromOtherSet(kOtherSample, otherWidth);
    FakePlugin reader = folder.AddFake("reader.spi", "image", "mark=9\n");
    folder.WriteCatalogue(CatalogueRecord(otherWidth, "00IN", "other width", false, {{"*.bmp", "B"}}) +
                          FakeRecord(reader, "00IN", {{"*.bmp", "B"}}));
    BmpImage image = PatternImage(3, 2, 24, false);
    const std::string picture = folder / "a.bmp";
    WriteFileBytes(picture, WriteBmp(image));

    if (!CanRunTheBridgeHelper())
        GTEST_SKIP() << "this machine runs no " BRISK_BRIDGED_WIDTH " programs: the bridge cannot serve here";
    LoadedFront front(folder.Imp());
    std::string header = ReadFileBytes(picture);
    header.resize(2048);
    ASSERT_EQ(front.IsSupported(picture.c_str(), reinterpret_cast<ULONG_PTR>(header.data())), 1);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    ASSERT_EQ(front.GetPicture(picture.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0), 0);
    ASSERT_NE(info, nullptr);
    auto* bitmap = static_cast<BITMAPINFOHEADER*>(LocalLock(info));
    EXPECT_EQ(bitmap->biWidth, 3);
    EXPECT_EQ(bitmap->biHeight, 2);
    LocalUnlock(info);
    LocalFree(info);
    LocalFree(bits);
    EXPECT_EQ(reader.Count("GetPicture|"), 0) << "the other width's sample comes first and answered";
}

// Without a helper that can serve it (none beside the set, as where it cannot run), a
// plug-in of the other width costs one failed load, is never tried again and is no
// candidate, and the plug-ins after it still serve.
TEST(SetWidth, APluginOfTheOtherWidthCostsOneFailedLoadAndIsNoCandidate)
{
    FrontFolder folder;
    const std::string otherWidth = folder / "other_width.spi";
    CopyFromOtherSet(kOtherSample, otherWidth);
    FakePlugin reader = folder.AddFake("reader.spi", "image", "mark=9\n");
    folder.WriteCatalogue(CatalogueRecord(otherWidth, "00IN", "other width", false, {{"*.pic", "P"}}) +
                          FakeRecord(reader, "00IN", {{"*.pic", "P"}}));
    // A file of this width stands in the other's place once its load has failed: a
    // second load would reach it and show in its log.
    FakePlugin standIn = folder.AddFake("stand_in.spi", "image", "");

    LoadedFront front(folder.Imp());
    ASSERT_EQ(front.IsSupported("a.pic", 0), 1);
    ASSERT_TRUE(CopyFileA(standIn.Path().c_str(), otherWidth.c_str(), FALSE));
    ASSERT_EQ(front.IsSupported("b.pic", 0), 1);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    ASSERT_EQ(front.GetPicture("b.pic", 0, kSpiInputFile, &info, &bits, nullptr, 0), 0);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(LocalLock(bits))[0], 9);
    LocalUnlock(bits);
    LocalFree(info);
    LocalFree(bits);
    EXPECT_FALSE(FileExists(otherWidth + ".log"));
    EXPECT_EQ(reader.Count("IsSupported|"), 2);
}

#if defined(_WIN64)

// Memory at or above 4 GiB, so a value or pointer cut to 32 bits cannot go unnoticed.
class HighMemory {
public:
    explicit HighMemory(std::size_t size)
    {
        for (ULONG_PTR base = 0x100000000ull * 64; !block_ && base < 0x100000000ull * 4096; base *= 2)
            block_ = VirtualAlloc(reinterpret_cast<void*>(base), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    ~HighMemory()
    {
        if (block_)
            VirtualFree(block_, 0, MEM_RELEASE);
    }
    HighMemory(const HighMemory&) = delete;
    HighMemory& operator=(const HighMemory&) = delete;
    template <typename T>
    T* At(std::size_t offset) const
    {
        return reinterpret_cast<T*>(static_cast<char*>(block_) + offset);
    }
    bool Ok() const { return block_ && reinterpret_cast<ULONG_PTR>(block_) > 0xFFFFFFFFull; }

private:
    void* block_ = nullptr;
};

constexpr LONG_PTR kHighData = 0x123456789ABCll;
LONG_PTR receivedData = 0;

int WINAPI RecordData(int, int, LONG_PTR data)
{
    receivedData = data;
    return 0;
}

std::string Decimal(ULONG_PTR value)
{
    return std::to_string(value);
}

TEST(SetWidth, SixtyFourBitValuesAndHighHostBuffersReachThePluginsUnchanged)
{
    FrontFolder folder;
    FakePlugin image = folder.AddFake("image.spi", "all", "callback=1\n");
    FakePlugin archive = folder.AddFake("archive.spi", "all", "callback=1\nentries=a.txt\ncontent.a.txt=alpha\n");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "P"}}) + FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    HighMemory high(1 << 16);
    ASSERT_TRUE(high.Ok());
    char* header = high.At<char>(0);
    std::memcpy(header, "FAKE", 4);
    char* image0 = high.At<char>(4096);
    std::memcpy(image0, "FAKE picture in memory", 22);
    const LONG_PTR highOffset = 0x100000010ll;

    LoadedFront imp(folder.Imp());
    ASSERT_EQ(imp.IsSupported("x.pic", reinterpret_cast<ULONG_PTR>(header)), 1);
    EXPECT_EQ(image.Count("IsSupported|x.pic|" + Decimal(reinterpret_cast<ULONG_PTR>(header))), 1);

    auto* info = high.At<SpiPictureInfo>(8192);
    ASSERT_EQ(imp.GetPictureInfo("x.pic", highOffset, kSpiInputFile, info), 0);
    EXPECT_EQ(info->width, 2);
    EXPECT_EQ(image.Count("GetPictureInfo|x.pic|" + std::to_string(highOffset) + "|0"), 1);

    auto* handles = high.At<HLOCAL>(12288);
    handles[0] = handles[1] = nullptr;
    receivedData = 0;
    ASSERT_EQ(imp.GetPicture("x.pic", highOffset, kSpiInputFile, &handles[0], &handles[1], RecordData, kHighData), 0);
    EXPECT_EQ(receivedData, kHighData);
    EXPECT_EQ(image.Count("GetPicture|x.pic|" + std::to_string(highOffset) + "|0"), 1);
    ASSERT_NE(handles[1], nullptr);
    LocalFree(handles[0]);
    LocalFree(handles[1]);

    char pointerText[32];
    std::snprintf(pointerText, sizeof pointerText, "%p", static_cast<void*>(image0));
    ASSERT_EQ(imp.GetPreview(image0, 22, kSpiInputMemory, &handles[0], &handles[1], nullptr, 0), 0);
    EXPECT_EQ(image.Count(std::string("GetPreview|memory:") + pointerText + "|22|1"), 1);
    LocalFree(handles[0]);
    LocalFree(handles[1]);

    LoadedFront arc(folder.Arc());
    ASSERT_EQ(arc.IsSupported("x.arc", reinterpret_cast<ULONG_PTR>(header)), 1);
    auto* table = high.At<HLOCAL>(16384);
    ASSERT_EQ(arc.GetArchiveInfo("x.arc", highOffset, kSpiInputFile, table), 0);
    EXPECT_EQ(archive.Count("GetArchiveInfo|x.arc|" + std::to_string(highOffset) + "|0"), 1);
    auto* entries = static_cast<SpiFileInfo*>(LocalLock(*table));
    EXPECT_STREQ(entries[0].fileName, "a.txt");
    EXPECT_EQ(entries[1].method[0], 0);
    LocalUnlock(*table);
    LocalFree(*table);

    auto* entry = high.At<SpiFileInfo>(20480);
    ASSERT_EQ(arc.GetFileInfo("x.arc", highOffset, "a.txt", kSpiInputFile, entry), 0);
    EXPECT_EQ(entry->fileSize, 5u);

    auto* extracted = high.At<HLOCAL>(32768);
    receivedData = 0;
    ASSERT_EQ(arc.GetFile("x.arc", 0, reinterpret_cast<LPSTR>(extracted), kSpiOutputMemory, RecordData, kHighData), 0);
    EXPECT_EQ(receivedData, kHighData);
    ASSERT_NE(*extracted, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(LocalLock(*extracted)), 5), "alpha");
    LocalUnlock(*extracted);
    LocalFree(*extracted);
}

#endif

}  // namespace
