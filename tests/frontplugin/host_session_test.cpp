// A host's whole session: open an image through BriskImp.spi, list and extract an
// archive through BriskArc.spi, both served by catalogued fake plug-ins; a viewer
// that extracts from an archive after probing another file.
#include <gtest/gtest.h>

#include <cstring>

#include "front_host.h"

namespace {

// The first 2 KB of a file, as hosts pass them to IsSupported.
struct FileHeader {
    char bytes[2048] = "FAKE";
};

FileHeader HeaderOf(const std::string& path)
{
    FileHeader header = {};
    std::string bytes = ReadFileBytes(path).substr(0, sizeof header.bytes);
    std::memcpy(header.bytes, bytes.data(), bytes.size());
    return header;
}

// The entry table GetArchiveInfo handed over, freed.
std::vector<SpiFileInfo> TakeEntries(HLOCAL table)
{
    std::vector<SpiFileInfo> entries;
    for (auto* entry = static_cast<SpiFileInfo*>(LocalLock(table)); entry->method[0]; ++entry)
        entries.push_back(*entry);
    LocalUnlock(table);
    LocalFree(table);
    return entries;
}

TEST(HostSession, OpensAnImageThroughBriskImp)
{
    FrontFolder folder;
    FakePlugin other = folder.AddFake("other.spi", "image", "IsSupported=0\n");
    FakePlugin image = folder.AddFake("image.spi", "image", "mark=200\n");
    folder.WriteCatalogue(FakeRecord(other, "00IN", {{"*.fk", "Other fakes"}}) +
                          FakeRecord(image, "00IN", {{"*.fk;*.fake", "Fake pictures"}}));
    WriteFileBytes(folder / "photo.fk", "FAKE picture");
    const std::string photo = folder / "photo.fk";

    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.PluginInfo(0), "00IN");
    EXPECT_EQ(front.PluginInfo(2), "*.fk");
    EXPECT_EQ(front.PluginInfo(4), "*.fk;*.fake");
    FileHeader header;
    ASSERT_EQ(front.IsSupported(photo.c_str(), reinterpret_cast<ULONG_PTR>(header.bytes)), 1);

    SpiPictureInfo info = {};
    ASSERT_EQ(front.GetPictureInfo(photo.c_str(), 0, kSpiInputFile, &info), 0);
    EXPECT_EQ(info.width, 2);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.colorDepth, 8);

    HLOCAL bitmapInfo = nullptr;
    HLOCAL bitmapBits = nullptr;
    ASSERT_EQ(front.GetPicture(photo.c_str(), 0, kSpiInputFile, &bitmapInfo, &bitmapBits, nullptr, 0), 0);
    ASSERT_NE(bitmapInfo, nullptr);
    ASSERT_NE(bitmapBits, nullptr);
    auto* header0 = static_cast<BITMAPINFOHEADER*>(LocalLock(bitmapInfo));
    EXPECT_EQ(header0->biWidth, 2);
    EXPECT_EQ(header0->biHeight, 2);
    EXPECT_EQ(header0->biBitCount, 8);
    LocalUnlock(bitmapInfo);
    auto* bits = static_cast<BYTE*>(LocalLock(bitmapBits));
    EXPECT_EQ(bits[0], 200);
    EXPECT_EQ(bits[1], 200);
    LocalUnlock(bitmapBits);
    LocalFree(bitmapInfo);
    LocalFree(bitmapBits);

    EXPECT_EQ(other.Count("GetPicture"), 0);
    EXPECT_EQ(image.Count("GetPicture|" + photo + "|0|0"), 1);
}

TEST(HostSession, ListsAndExtractsAnArchiveThroughBriskArc)
{
    FrontFolder folder;
    FakePlugin archive =
        folder.AddFake("archive.spi", "archive", "entries=a.txt,b.txt\ncontent.a.txt=alpha\ncontent.b.txt=bravo!\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.fa", "Fake archives"}}));
    WriteFileBytes(folder / "box.fa", "FAKE archive");
    const std::string box = folder / "box.fa";
    const std::string out = folder / "out";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));

    LoadedFront front(folder.Arc());
    EXPECT_EQ(front.PluginInfo(0), "00AM");
    EXPECT_EQ(front.PluginInfo(2), "*.fa");
    ASSERT_EQ(front.IsSupported(box.c_str(), 0), 1);

    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(box.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_NE(table, nullptr);
    std::vector<SpiFileInfo> entries = TakeEntries(table);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].fileName, "a.txt");
    EXPECT_STREQ(entries[1].fileName, "b.txt");

    SpiFileInfo info = {};
    ASSERT_EQ(front.GetFileInfo(box.c_str(), 0, "b.txt", kSpiInputFile, &info), 0);
    EXPECT_EQ(info.fileSize, 6u);
    EXPECT_EQ(front.GetFileInfo(box.c_str(), 0, "c.txt", kSpiInputFile, &info), kSpiUnknownFormat);

    // To a folder.
    std::string destination = out;
    ASSERT_EQ(front.GetFile(box.c_str(), static_cast<LONG_PTR>(entries[0].position), &destination[0],
                            kSpiInputFile | kSpiOutputFile, nullptr, 0),
              0);
    EXPECT_EQ(ReadFileBytes(out + "\\a.txt"), "alpha");

    // To memory.
    HLOCAL extracted = nullptr;
    ASSERT_EQ(front.GetFile(box.c_str(), static_cast<LONG_PTR>(info.position), reinterpret_cast<LPSTR>(&extracted),
                            kSpiInputFile | kSpiOutputMemory, nullptr, 0),
              0);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(LocalLock(extracted)), LocalSize(extracted)), "bravo!");
    LocalUnlock(extracted);
    LocalFree(extracted);
}

// The viewer lists archive A, probes picture B in between (through every plug-in it
// has), and then extracts A's entries without probing A again.
TEST(HostSession, ExtractsFromAnArchiveListedBeforeAnotherFileWasProbed)
{
    FrontFolder folder;
    FakePlugin archive = folder.AddFake("archive.spi", "archive",
                                        "IsSupported.header=1\nentries=a.txt,b.txt\ncontent.a.txt=alpha\n"
                                        "content.b.txt=bravo!\n");
    // An archive plug-in that also claims B's kind of file, and can read no entry of A.
    FakePlugin containers =
        folder.AddFake("containers.spi", "archive", "GetArchiveInfo=2\nGetFileInfo=2\nGetFile=2\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.fa", "Fake archives"}}) +
                          FakeRecord(containers, "00AM", {{"*.fk", "Fake containers"}}));
    const std::string box = folder / "box.fa";
    const std::string photo = folder / "photo.fk";
    WriteFileBytes(box, "FAKE archive");
    WriteFileBytes(photo, "FAKE picture");
    const std::string out = folder / "out";
    ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));

    LoadedFront front(folder.Arc());
    FileHeader boxHeader = HeaderOf(box);
    ASSERT_EQ(front.IsSupported(box.c_str(), reinterpret_cast<ULONG_PTR>(boxHeader.bytes)), 1);
    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(box.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_NE(table, nullptr);
    std::vector<SpiFileInfo> entries = TakeEntries(table);
    ASSERT_EQ(entries.size(), 2u);

    FileHeader photoHeader = HeaderOf(photo);
    ASSERT_EQ(front.IsSupported(photo.c_str(), reinterpret_cast<ULONG_PTR>(photoHeader.bytes)), 1);

    // To a folder: the picture's candidate fails, and A's plug-in answers.
    std::string destination = out;
    EXPECT_EQ(front.GetFile(box.c_str(), static_cast<LONG_PTR>(entries[0].position), &destination[0],
                            kSpiInputFile | kSpiOutputFile, nullptr, 0),
              0);
    EXPECT_EQ(ReadFileBytes(out + "\\a.txt"), "alpha");
    // To memory: A's plug-in is the candidate again, nobody else is asked.
    HLOCAL extracted = nullptr;
    ASSERT_EQ(front.GetFile(box.c_str(), static_cast<LONG_PTR>(entries[1].position),
                            reinterpret_cast<LPSTR>(&extracted), kSpiInputFile | kSpiOutputMemory, nullptr, 0),
              0);
    ASSERT_NE(extracted, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(LocalLock(extracted)), LocalSize(extracted)), "bravo!");
    LocalUnlock(extracted);
    LocalFree(extracted);

    EXPECT_EQ(containers.Count("GetFile|"), 1);
    EXPECT_EQ(archive.Count("GetFile|"), 2);
    // Probed by the host and once by the front plug-in, with the same header bytes.
    EXPECT_EQ(archive.Count("IsSupported|" + box + "|"), 2);
    EXPECT_EQ(archive.Count("header|FAKE archive|12"), 2);
    EXPECT_EQ(archive.Count("attach"), 1);
}

}  // namespace
