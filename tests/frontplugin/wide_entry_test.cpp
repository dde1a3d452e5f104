// The W exports: names that the ANSI code page cannot write reach W plug-ins as they
// are and ANSI-only plug-ins by their short names; the archive records ANSI-only
// plug-ins give are converted for the host.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bmp_writer.h"
#include "front_host.h"
#include "owned_handle.h"
#include "tar_writer.h"

namespace {

const std::wstring kUnwritable = L"\u5199\u771F_\U0001F600";  // CJK and an emoji: not in code page 1252

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage)
{
    std::string text(wide.size() * 4, '\0');
    text.resize(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), &text[0],
                                    static_cast<int>(text.size()), nullptr, nullptr));
    return text;
}

std::string Utf8(const std::wstring& wide)
{
    return Narrow(wide, CP_UTF8);
}

void WriteWideFile(const std::wstring& path, const std::string& bytes)
{
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_NE(file.Get(), INVALID_HANDLE_VALUE) << Utf8(path);
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadWideFile(const std::wstring& path)
{
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char bytes[256];
    DWORD got = 0;
    if (file.Get() == INVALID_HANDLE_VALUE || !ReadFile(file.Get(), bytes, sizeof bytes, &got, nullptr))
        return "(unreadable)";
    return std::string(bytes, got);
}

std::string ShortName(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = {};
    GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return Narrow(shortPath, CP_ACP);
}

// The wide record the host should get for `ansi`, converted field by field.
SpiFileInfoW Expected(const SpiFileInfo& ansi)
{
    SpiFileInfoW wide;
    std::memset(&wide, 0, sizeof wide);
    std::memcpy(wide.method, ansi.method, sizeof wide.method);
    wide.position = ansi.position;
    wide.compressedSize = ansi.compressedSize;
    wide.fileSize = ansi.fileSize;
    wide.timestamp = ansi.timestamp;
    std::wstring path = Wide(std::string(ansi.path, strnlen(ansi.path, sizeof ansi.path)));
    std::wstring fileName = Wide(std::string(ansi.fileName, strnlen(ansi.fileName, sizeof ansi.fileName)));
    std::memcpy(wide.path, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
    std::memcpy(wide.fileName, fileName.c_str(), (fileName.size() + 1) * sizeof(WCHAR));
    wide.crc = ansi.crc;
    return wide;
}

TEST(WideEntryPoints, EachPluginGetsTheNameItCanTake)
{
    FrontFolder folder;
    FakePlugin wide = folder.AddFake("wide.spi", "wide", "GetPictureW=3\n");
    FakePlugin ansi = folder.AddFake("ansi.spi", "image", "");
    folder.WriteCatalogue(FakeRecord(wide, "00IN", {{"*.fk", "Wide"}}) + FakeRecord(ansi, "00IN", {{"*.FK", "Ansi"}}));
    const std::wstring unwritable = Wide(folder.Path()) + kUnwritable + L".fk";
    WriteWideFile(unwritable, "FAKE");
    const std::string shortName = ShortName(unwritable);
    ASSERT_EQ(shortName.find('?'), std::string::npos) << shortName;
    LoadedFront front(folder.Imp());

    EXPECT_EQ(front.IsSupportedW(unwritable.c_str(), 9), 1);
    EXPECT_EQ(wide.Calls(), (std::vector<std::string>{"attach", "IsSupportedW|" + Utf8(unwritable) + "|9"}));
    EXPECT_EQ(ansi.Count("IsSupported|" + shortName + "|9"), 1);
    // The W candidate fails, so the ANSI one is asked, by the short name again.
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bitmapBits = nullptr;
    EXPECT_EQ(front.GetPictureW(unwritable.c_str(), 0, kSpiInputFile, &bitmapInfo, &bitmapBits, nullptr, 0), 0);
    LocalFree(bitmapInfo);
    LocalFree(bitmapBits);
    EXPECT_EQ(wide.Count("GetPictureW|" + Utf8(unwritable) + "|0|0"), 1);
    EXPECT_EQ(ansi.Count("GetPicture|" + shortName + "|0|0"), 1);

    // A name the code page writes reaches the ANSI plug-in as its own bytes.
    const std::string written = folder / "caf\xE9.fk";
    WriteFileBytes(written, "FAKE");
    EXPECT_EQ(front.IsSupportedW(Wide(written).c_str(), 0), 1);
    EXPECT_EQ(ansi.Count("IsSupported|" + written + "|0"), 1);

    // No such file, so no short name: the ANSI plug-in cannot be asked.
    ansi.ClearLog();
    const std::wstring missing = Wide(folder.Path()) + kUnwritable + L"_missing.fk";
    EXPECT_EQ(front.IsSupportedW(missing.c_str(), 0), 1);
    EXPECT_EQ(front.GetPictureInfoW(missing.c_str(), 0, kSpiInputFile, nullptr), 0);
    EXPECT_EQ(ansi.Calls(), std::vector<std::string>{});
    EXPECT_EQ(wide.Count("GetPictureInfoW|" + Utf8(missing)), 1);
}

TEST(WideEntryPoints, ProbesOfEachKindKeepTheirOwnRejectedNameOverOneCandidateList)
{
    FrontFolder folder;
    FakePlugin refuses = folder.AddFake("refuses.spi", "wide", "IsSupported=0\n");
    FakePlugin accepts = folder.AddFake("accepts.spi", "wide", "");
    folder.WriteCatalogue(FakeRecord(refuses, "00IN", {{"*.no", "No"}}) + FakeRecord(accepts, "00IN", {{"*.fk", "F"}}));
    LoadedFront front(folder.Imp());

    EXPECT_EQ(front.IsSupportedW(L"a.no", 0), 0);
    EXPECT_EQ(front.IsSupportedW(L"a.no", 0), 0);
    EXPECT_EQ(refuses.Count("IsSupportedW|a.no"), 1);
    // The ANSI probe has not rejected it yet.
    EXPECT_EQ(front.IsSupported("a.no", 0), 0);
    EXPECT_EQ(refuses.Count("IsSupported|a.no"), 1);

    // An ANSI probe makes the list a W request runs on, and back.
    EXPECT_EQ(front.IsSupported("b.fk", 0), 1);
    EXPECT_EQ(front.IsSupportedW(L"a.no", 0), 0);
    EXPECT_EQ(front.GetPictureInfoW(L"b.fk", 0, kSpiInputFile, nullptr), 0);
    EXPECT_EQ(accepts.Count("GetPictureInfoW|b.fk"), 1);
    EXPECT_EQ(front.IsSupportedW(L"c.fk", 0), 1);
    EXPECT_EQ(front.IsSupported("a.no", 0), 0);
    EXPECT_EQ(front.GetPictureInfo("c.fk", 0, kSpiInputFile, nullptr), 0);
    EXPECT_EQ(accepts.Count("GetPictureInfo|c.fk"), 1);
    EXPECT_EQ(refuses.Count("IsSupported"), 2);
}

TEST(WideEntryPoints, PluginInfoInUtf16)
{
    FrontFolder folder;
    FakePlugin fake = folder.AddFake("fake.spi", "wide", "");
    folder.WriteCatalogue(FakeRecord(fake, "00IN", {{"*.fk;*.\xE9t", "Caf\xE9 pictures"}}));
    LoadedFront front(folder.Imp());
    for (int infono = 0; infono <= 3; ++infono) {
        for (int buflen : {256, 6, 1}) {
            int ansiResult = 0;
            const std::string ansi = front.PluginInfo(infono, buflen, &ansiResult);
            std::wstring buffer(buflen, L'#');
            EXPECT_EQ(front.GetPluginInfoW(infono, &buffer[0], buflen), ansiResult) << infono << " " << buflen;
            EXPECT_EQ(std::wstring(buffer.c_str()), Wide(ansi)) << infono << " " << buflen;
        }
    }
    std::wstring buffer(8, L'#');
    EXPECT_EQ(front.GetPluginInfoW(3, &buffer[0], 8), 8);
    EXPECT_EQ(std::wstring(buffer.c_str()), L"Caf\u00E9 pi");
    EXPECT_EQ(front.GetPluginInfoW(4, &buffer[0], 8), 0);
    EXPECT_EQ(front.GetPluginInfoW(0, nullptr, 8), 0);
    EXPECT_EQ(front.GetPluginInfoW(0, &buffer[0], 0), 0);
    EXPECT_EQ(front.GetPluginInfoW(-1, &buffer[0], 8), 0);
}

TEST(WideEntryPoints, ArchiveRecordsOfAnAnsiPluginReachTheHostConverted)
{
    FrontFolder folder;
    FakePlugin ansi = folder.AddFake("ansi.spi", "archive",
                                     "IsSupported.header=1\nentryPath=d\xEEr\\\\\nentries=caf\xE9.txt,b.txt,c.txt\n"
                                     "content.caf\xE9.txt=abc\n");
    folder.WriteCatalogue(FakeRecord(ansi, "00AM", {{"*.arc", "Archives"}}));
    const std::wstring archive = Wide(folder.Path()) + kUnwritable + L".arc";
    WriteWideFile(archive, "ARCHIVE");
    const std::string shortArchive = ShortName(archive);
    LoadedFront front(folder.Arc());

    // No probe before: the request reads the file's header by its wide name.
    HLOCAL wideTable = nullptr;
    ASSERT_EQ(front.GetArchiveInfoW(archive.c_str(), 0, kSpiInputFile, &wideTable), 0);
    EXPECT_EQ(ansi.Count("IsSupported|" + shortArchive + "|"), 1);
    EXPECT_EQ(ansi.Count("header|ARCHIVE|7"), 1);
    EXPECT_EQ(ansi.Count("GetArchiveInfo|" + shortArchive + "|0|0"), 1);
    HLOCAL ansiTable = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(shortArchive.c_str(), 0, kSpiInputFile, &ansiTable), 0);
    // Hosts step through the table by the interface's record size, the x64 one with
    // its 4 padding bytes.
    const std::size_t step = sizeof(void*) == 8 ? 848 : 828;
    const std::size_t fields = sizeof(void*) == 8 ? 844 : 828;
    ASSERT_GE(LocalSize(wideTable), 4 * step);
    const auto* ansiRecords = static_cast<const SpiFileInfo*>(LocalLock(ansiTable));
    const auto* wideBytes = static_cast<const unsigned char*>(LocalLock(wideTable));
    SpiFileInfo end = {};
    for (std::size_t i = 0; i < 4; ++i) {
        SpiFileInfoW expected = Expected(i < 3 ? ansiRecords[i] : end);
        EXPECT_EQ(std::memcmp(wideBytes + i * step, &expected, fields), 0) << "record " << i;
        if (step > fields) {
            EXPECT_EQ(std::memcmp(wideBytes + i * step + fields, "\0\0\0\0", 4), 0) << "padding of record " << i;
        }
    }
    const auto* third = reinterpret_cast<const SpiFileInfoW*>(wideBytes + 2 * step);
    EXPECT_STREQ(third->path, L"d\u00EEr\\");
    EXPECT_STREQ(third->fileName, L"c.txt");
    LocalUnlock(ansiTable);
    LocalUnlock(wideTable);
    LocalFree(ansiTable);
    LocalFree(wideTable);

    SpiFileInfo ansiInfo = {};
    ASSERT_EQ(front.GetFileInfo(shortArchive.c_str(), 0, "caf\xE9.txt", 0, &ansiInfo), 0);
    SpiFileInfoW wideInfo;
    std::memset(&wideInfo, 0xCC, sizeof wideInfo);
    ASSERT_EQ(front.GetFileInfoW(archive.c_str(), 0, L"caf\u00E9.txt", 0, &wideInfo), 0);
    SpiFileInfoW expected = Expected(ansiInfo);
    EXPECT_EQ(std::memcmp(&wideInfo, &expected, sizeof expected), 0) << "fields and padding all written";
    // An entry name without an ANSI form cannot be asked for.
    ansi.ClearLog();
    EXPECT_EQ(front.GetFileInfoW(archive.c_str(), 0, (kUnwritable + L".txt").c_str(), 0, &wideInfo), 2);
    EXPECT_EQ(ansi.Count("GetFileInfo|"), 0);

    // A destination folder the code page cannot write is given by its short name.
    const std::wstring destination = Wide(folder.Path()) + kUnwritable;
    ASSERT_TRUE(CreateDirectoryW(destination.c_str(), nullptr));
    std::wstring destinationBuffer = destination;
    EXPECT_EQ(front.GetFileW(archive.c_str(), 0, &destinationBuffer[0], kSpiOutputFile, nullptr, 0), 0);
    EXPECT_EQ(ansi.Count("GetFile|" + shortArchive + "|0|" + ShortName(destination) + "|0"), 1);
    EXPECT_EQ(ReadWideFile(destination + L"\\caf\u00E9.txt"), "abc");
}

// An ANSI-only plug-in whose table lacks the records' closing padding (x64 plug-ins
// built so): its W table still holds every entry.
TEST(WideEntryPoints, AnAnsiTableWithoutTheRecordsPaddingIsConvertedWhole)
{
    FrontFolder folder;
    FakePlugin ansi = folder.AddFake("ansi.spi", "archive", "entries=one.txt,two.txt,three.txt\nunpaddedTable=1\n");
    folder.WriteCatalogue(FakeRecord(ansi, "00AM", {{"*.arc", "Archives"}}));
    LoadedFront front(folder.Arc());
    ASSERT_EQ(front.IsSupported("x.arc", 0), 1);
    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfoW(L"x.arc", 0, kSpiInputMemory, &table), 0);
    ASSERT_EQ(LocalSize(table), 4 * sizeof(SpiFileInfoW));
    const auto* entries = static_cast<const SpiFileInfoW*>(LocalLock(table));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(entries[i].position, static_cast<ULONG_PTR>(i)) << i;
    EXPECT_EQ(std::wstring(entries[2].fileName), L"three.txt");
    EXPECT_EQ(entries[3].method[0], 0);
    LocalUnlock(table);
    LocalFree(table);
}

// The sample plug-ins as a user would catalogue them: the bitmap reader has the W entry
// points, the tar extractor only the ANSI ones.
TEST(WideEntryPoints, SamplePluginsOfBothKindsServeNamesTheCodePageCannotWrite)
{
    FrontFolder folder;
    CopyFixture(BRISK_SAMPLE_BMP, folder / BRISK_SAMPLE_BMP);
    CopyFixture(BRISK_SAMPLE_TAR, folder / BRISK_SAMPLE_TAR);
    folder.WriteCatalogue(
        CatalogueRecord(folder / BRISK_SAMPLE_BMP, "00IN", "Bitmaps", true, {{"*.bmp", "Bitmaps"}}) +
        CatalogueRecord(folder / BRISK_SAMPLE_TAR, "00AM", "Tar", true, {{"*.tar", "Tar archives"}}));
    const std::wstring stem = Wide(folder.Path()) + kUnwritable;

    WriteWideFile(stem + L".bmp", WriteBmp(PatternImage(5, 3, 24, false)));
    LoadedFront imp(folder.Imp());
    // No probe first: the request reads the file's header by its wide name itself.
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bitmapBits = nullptr;
    ASSERT_EQ(imp.GetPictureW((stem + L".bmp").c_str(), 0, kSpiInputFile, &bitmapInfo, &bitmapBits, nullptr, 0), 0);
    EXPECT_EQ(static_cast<BITMAPINFOHEADER*>(LocalLock(bitmapInfo))->biWidth, 5);
    LocalUnlock(bitmapInfo);
    LocalFree(bitmapInfo);
    LocalFree(bitmapBits);

    WriteWideFile(stem + L".tar", WriteTar({{"caf\xE9.txt", "coffee"}}));
    LoadedFront arc(folder.Arc());
    HLOCAL table = nullptr;
    ASSERT_EQ(arc.GetArchiveInfoW((stem + L".tar").c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_GE(LocalSize(table), 2 * sizeof(SpiFileInfoW));
    const SpiFileInfoW entry = *static_cast<const SpiFileInfoW*>(LocalLock(table));
    LocalUnlock(table);
    LocalFree(table);
    EXPECT_STREQ(entry.fileName, L"caf\u00E9.txt");
    std::wstring destination = stem;
    ASSERT_TRUE(CreateDirectoryW(destination.c_str(), nullptr));
    EXPECT_EQ(arc.GetFileW((stem + L".tar").c_str(), static_cast<LONG_PTR>(entry.position), &destination[0],
                           kSpiOutputFile, nullptr, 0),
              0);
    EXPECT_EQ(ReadWideFile(destination + L"\\caf\u00E9.txt"), "coffee");
}

}  // namespace
