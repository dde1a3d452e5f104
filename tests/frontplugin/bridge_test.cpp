// Plug-ins of the other width in this set's catalogue, served through the helper
// (32-bit plug-ins for the 64-bit set, 64-bit ones for the 32-bit set): every entry
// point's arguments and results across the bridge, the helper's lifetime, and its
// failures. The plug-ins are the other build's fakes.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "child_process.h"
#include "front_host.h"
#include "narrow_programs.h"
#include "set_names.h"

namespace {

std::string OtherSetFolder()
{
    return WineFolder(BRISK_OTHER_SET_BIN);
}

// The helpers this process has started and that still run.
std::vector<DWORD> HelperProcesses()
{
    std::vector<DWORD> helpers;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == GetCurrentProcessId() && lstrcmpiA(entry.szExeFile, BRISK_BRIDGE_PROGRAM) == 0)
            helpers.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return helpers;
}

// Ended processes can linger in the list for a moment.
bool NoHelperWithin(DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (HelperProcesses().empty())
            return true;
        Sleep(50);
    }
    return HelperProcesses().empty();
}

class Bridge : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string helper = folder / BRISK_BRIDGE_PROGRAM;
        ASSERT_TRUE(CopyFileA((BinFolder() + BRISK_BRIDGE_PROGRAM).c_str(), helper.c_str(), FALSE))
            << "the other build's helper is missing beside this set: test.sh builds both";
        if (!CanRunTheBridgeHelper())
            GTEST_SKIP() << "this machine runs no " BRISK_BRIDGED_WIDTH " programs: the bridge cannot be tested here";
    }

    // A fake of the other width in the folder, configured and logging like this width's.
    FakePlugin AddOtherWidthFake(const std::string& fileName, const std::string& variant, const std::string& config)
    {
        FakePlugin fake = folder.AddFake(fileName, variant, config);
        EXPECT_TRUE(CopyFileA((OtherSetFolder() + "fake_" + variant + ".spi").c_str(), fake.Path().c_str(), FALSE));
        return fake;
    }

    FrontFolder folder;
};

int progressAnswer = 0;
std::vector<std::string> progressCalls;

int WINAPI RecordProgress(int done, int total, LONG_PTR data)
{
    progressCalls.push_back(std::to_string(done) + "/" + std::to_string(total) + "/" + std::to_string(data));
    return progressAnswer;
}

std::string BlockBytes(HLOCAL block)
{
    std::string bytes(static_cast<const char*>(LocalLock(block)), LocalSize(block));
    LocalUnlock(block);
    return bytes;
}

TEST_F(Bridge, ImageCallsCrossWithTheirArgumentsAndResultsIntact)
{
    FakePlugin image = AddOtherWidthFake("other.spi", "wide",
                                     "pictureText=made in the other width\nmark=77\ncallback=1\nIsSupported.header=1\n");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "P"}}));
    const std::string picture = folder / "a.pic";
    WriteFileBytes(picture, "FAKE picture");

    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.PluginInfo(2), "*.pic");
    EXPECT_TRUE(HelperProcesses().empty()) << "the helper starts with the first call that needs it";

    char header[2048] = "FAKE header";
    header[2047] = 'z';
    ASSERT_EQ(front.IsSupported(picture.c_str(), reinterpret_cast<ULONG_PTR>(header)), 1);
    EXPECT_EQ(HelperProcesses().size(), 1u);
    EXPECT_EQ(image.Count("header|FAKE header|12"), 1);

    SpiPictureInfo info;
    std::memset(&info, 0xEE, sizeof info);
    ASSERT_EQ(front.GetPictureInfo(picture.c_str(), 5, kSpiInputFile, &info), 0);
    EXPECT_EQ(image.Count("GetPictureInfo|" + picture + "|5|0"), 1);
    EXPECT_EQ(info.width, 2);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.colorDepth, 8);
    ASSERT_NE(info.hInfo, nullptr);
    EXPECT_EQ(BlockBytes(info.hInfo), std::string("made in the other width", 24));
    LocalFree(info.hInfo);

    // The progress callback runs here, with the host's pointer-wide value, and its
    // answer reaches the plug-in.
    progressCalls.clear();
    progressAnswer = 1;
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bits = nullptr;
    const LONG_PTR data = sizeof(LONG_PTR) == 8 ? static_cast<LONG_PTR>(0x123456789ABCll) : -0x12345678;
    ASSERT_EQ(front.GetPicture(picture.c_str(), 0, kSpiInputFile, &bitmapInfo, &bits, RecordProgress, data), 0);
    EXPECT_EQ(progressCalls, std::vector<std::string>{"0/1/" + std::to_string(data)});
    EXPECT_EQ(image.Count("callback|1"), 1);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(BlockBytes(bits), std::string("\x4d\x4d\0\0\x4d\x4d\0\0", 8));
    ASSERT_NE(bitmapInfo, nullptr);
    EXPECT_EQ(LocalSize(bitmapInfo), sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    EXPECT_EQ(static_cast<BITMAPINFOHEADER*>(LocalLock(bitmapInfo))->biBitCount, 8);
    LocalUnlock(bitmapInfo);
    LocalFree(bitmapInfo);
    LocalFree(bits);

    // A memory image larger than the first shared section.
    std::string large(3 << 20, 'x');
    std::memcpy(&large[0], "FAKE", 4);
    ASSERT_EQ(front.GetPreview(large.data(), static_cast<LONG_PTR>(large.size()), kSpiInputMemory, &bitmapInfo, &bits,
                               nullptr, 0),
              0);
    EXPECT_EQ(image.Count("GetPreview|memory:"), 1);
    EXPECT_EQ(image.Count("GetPreview|"), 1);
    LocalFree(bitmapInfo);
    LocalFree(bits);

    // The W entry points where the plug-in has them, names in UTF-16.
    const std::wstring widePicture = std::wstring(picture.begin(), picture.end());
    ASSERT_EQ(front.GetPictureW(widePicture.c_str(), 0, kSpiInputFile, &bitmapInfo, &bits, nullptr, 0), 0);
    EXPECT_EQ(image.Count("GetPictureW|" + picture + "|0|0"), 1);
    LocalFree(bitmapInfo);
    LocalFree(bits);
    EXPECT_EQ(HelperProcesses().size(), 1u);
}

TEST_F(Bridge, ArchiveCallsCrossInThisWidthsLayouts)
{
    FakePlugin archive = AddOtherWidthFake("other.spi", "all",
                                       "entries=a.txt,b.txt\ncontent.b.txt=bravo\ncallback=1\nentryPath=sub\\\\\n"
                                       "IsSupported.read=4\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    const std::string file = folder / "x.arc";
    WriteFileBytes(file, "FAKE archive");

    LoadedFront front(folder.Arc());
    // A file handle crosses as a duplicate: the plug-in reads the host's file.
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(front.IsSupported(file.c_str(), reinterpret_cast<ULONG_PTR>(handle)), 1);
    EXPECT_EQ(archive.Count("read|FAKE"), 1);
    CloseHandle(handle);

    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(file.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_EQ(LocalSize(table), 3 * sizeof(SpiFileInfo));
    auto* entries = static_cast<SpiFileInfo*>(LocalLock(table));
    EXPECT_STREQ(entries[1].fileName, "b.txt");
    EXPECT_STREQ(entries[1].path, "sub\\");
    EXPECT_EQ(entries[1].position, 1u);
    EXPECT_EQ(entries[1].fileSize, 5u);
    EXPECT_EQ(entries[1].timestamp, 1700000001);
    EXPECT_EQ(entries[1].crc, 0xC0DE0001u);
    EXPECT_EQ(std::memcmp(entries[0].method, "FAKE", 4), 0);
    EXPECT_EQ(entries[2].method[0], 0);
    LocalUnlock(table);
    LocalFree(table);

    SpiFileInfo entry = {};
    ASSERT_EQ(front.GetFileInfo(file.c_str(), 0, "b.txt", kSpiInputFile, &entry), 0);
    EXPECT_EQ(entry.position, 1u);
    EXPECT_EQ(entry.fileSize, 5u);
    EXPECT_STREQ(entry.fileName, "b.txt");

    progressCalls.clear();
    progressAnswer = 0;
    HLOCAL extracted = nullptr;
    ASSERT_EQ(front.GetFile(file.c_str(), 1, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, RecordProgress, 9),
              0);
    EXPECT_EQ(BlockBytes(extracted), "bravo");
    LocalFree(extracted);
    EXPECT_EQ(progressCalls, std::vector<std::string>{"0/1/9"});
    EXPECT_EQ(archive.Count("callback|0"), 1);

    TempFolder out;
    std::string target = out.Path();
    target.pop_back();
    ASSERT_EQ(front.GetFile(file.c_str(), 1, &target[0], kSpiOutputFile, nullptr, 0), 0);
    EXPECT_EQ(ReadFileBytes(out / "b.txt"), "bravo");
}

// The W archive calls: names in UTF-16 both ways, fileInfoW records converted between
// the layouts (848 bytes with 4 of padding on x64, 828 on x86), the padding zero.
TEST_F(Bridge, WideArchiveCallsCrossWithUtf16Names)
{
    const std::wstring name = L"\u5199\u771F\U0001F600.txt";
    FakePlugin archive = AddOtherWidthFake("other_wide.spi", "wide",
                                       "entries=a.txt,\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x98\x80.txt,c.txt\n"
                                       "content.\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x98\x80.txt=wide!\n"
                                       "content.c.txt=charlie\nwideTable=1\nentryPath=sub\\\\\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    const std::string file = folder / "w.arc";
    WriteFileBytes(file, "FAKE archive");
    std::wstring wideFile(file.begin(), file.end());

    LoadedFront front(folder.Arc());
    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfoW(wideFile.c_str(), 0, kSpiInputFile, &table), 0);
    constexpr std::size_t kStep = sizeof(SpiFileInfoW);
    constexpr std::size_t kPadding = kStep - offsetof(SpiFileInfoW, crc) - sizeof(ULONG);
    ASSERT_EQ(LocalSize(table), 4 * kStep);
    const auto* bytes = static_cast<const unsigned char*>(LocalLock(table));
    const std::wstring names[] = {L"a.txt", name, L"c.txt"};
    const unsigned long long sizes[] = {0, 5, 7};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("record " + std::to_string(i));
        SpiFileInfoW entry;
        std::memcpy(&entry, bytes + i * kStep, sizeof entry);
        EXPECT_EQ(std::memcmp(entry.method, "FAKEW\0\0\0", 8), 0);
        EXPECT_EQ(entry.position, i);
        EXPECT_EQ(entry.fileSize, sizes[i]);
        EXPECT_EQ(entry.timestamp, static_cast<LONG_PTR>(1700000000 + i));
        EXPECT_EQ(std::wstring(entry.path), L"sub\\");
        EXPECT_EQ(std::wstring(entry.fileName), names[i]);
        EXPECT_EQ(entry.crc, 0xC0DE0000u + i);
        EXPECT_EQ(std::memcmp(bytes + (i + 1) * kStep - kPadding, "\0\0\0\0", kPadding), 0) << "padding";
    }
    EXPECT_EQ(bytes[3 * kStep], 0) << "the closing record";
    LocalUnlock(table);
    LocalFree(table);
    EXPECT_EQ(archive.Count("GetArchiveInfoW|" + file), 1);

    SpiFileInfoW entry;
    std::memset(&entry, 0xCC, sizeof entry);
    ASSERT_EQ(front.GetFileInfoW(wideFile.c_str(), 0, name.c_str(), kSpiInputFile, &entry), 0);
    EXPECT_EQ(entry.position, 1u);
    EXPECT_EQ(entry.fileSize, 5u);
    EXPECT_EQ(std::wstring(entry.fileName), name);
    EXPECT_EQ(std::memcmp(reinterpret_cast<const unsigned char*>(&entry + 1) - kPadding, "\0\0\0\0", kPadding), 0)
        << "padding";
}

#if defined(_WIN64)
// A 32-bit plug-in takes `len` in 32 bits. A position it cannot receive does not reach
// it cut to another one: the call fails as if the plug-in could not read the file, and
// the next candidate is asked. Positions it can receive reach it unchanged.
TEST_F(Bridge, LengthsBeyond32BitsAreNotCut)
{
    FakePlugin narrow = AddOtherWidthFake("narrow.spi", "all", "");
    FakePlugin native = folder.AddFake("native.spi", "all", "GetPreview=6\n");
    FakePlugin archive = AddOtherWidthFake("archive.spi", "all", "entries=a.txt\ncontent.a.txt=alpha\n");
    folder.WriteCatalogue(FakeRecord(narrow, "00IN", {{"*.pic", "P"}}) + FakeRecord(native, "00IN", {{"*.pic", "P"}}) +
                          FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    const std::string picture = folder / "a.pic";
    const std::string file = folder / "x.arc";
    WriteFileBytes(picture, "FAKE picture");
    WriteFileBytes(file, "FAKE archive");

    LoadedFront imp(folder.Imp());
    ASSERT_EQ(imp.IsSupported(picture.c_str(), 0), 1);
    SpiPictureInfo info = {};
    EXPECT_EQ(imp.GetPictureInfo(picture.c_str(), 0x700000010ll, kSpiInputFile, &info), 0);
    EXPECT_EQ(native.Count("GetPictureInfo|" + picture + "|" + std::to_string(0x700000010ll) + "|0"), 1);
    EXPECT_EQ(narrow.Count("GetPictureInfo|"), 0);
    HLOCAL bitmapInfo = nullptr;
    HLOCAL bits = nullptr;
    EXPECT_EQ(imp.GetPreview(picture.c_str(), -0x100000000ll, kSpiInputFile, &bitmapInfo, &bits, nullptr, 0), -1);
    EXPECT_EQ(narrow.Count("GetPreview|"), 0);
    EXPECT_EQ(native.Count("GetPreview|" + picture + "|" + std::to_string(-0x100000000ll) + "|0"), 1);

    // The only candidate, which would succeed at the cut position.
    LoadedFront arc(folder.Arc());
    ASSERT_EQ(arc.IsSupported(file.c_str(), 0), 1);
    HLOCAL extracted = nullptr;
    EXPECT_EQ(arc.GetFile(file.c_str(), 0x100000000ll, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr,
                          0),
              2);
    EXPECT_EQ(extracted, nullptr);
    HLOCAL table = nullptr;
    EXPECT_EQ(arc.GetArchiveInfo(file.c_str(), 0x100001000ll, kSpiInputFile, &table), 2);
    EXPECT_EQ(archive.Count("GetFile|"), 0);
    EXPECT_EQ(archive.Count("GetArchiveInfo|"), 0);
    // A position between 2 and 4 GiB and -1 reach it as the same 32 bits.
    for (const LONG_PTR len : {0x80001000ll, -1ll}) {
        arc.GetFile(file.c_str(), len, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr, 0);
        EXPECT_EQ(archive.Count("GetFile|" + file + "|" + std::to_string(static_cast<std::int32_t>(len)) + "|memory"), 1)
            << len;
    }
    EXPECT_EQ(arc.GetFile(file.c_str(), 0, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr, 0), 0);
    EXPECT_EQ(BlockBytes(extracted), "alpha");
    LocalFree(extracted);
}

#else
// What a 64-bit plug-in answers that a 32-bit record cannot hold (a position or size
// past 4 GiB, a time outside signed 32 bits) is not cut: such an entry is left out of
// the tables, the others whole, and GetFileInfo for it fails with the host's record
// untouched. A position of 2 to 4 GiB from the host reaches the plug-in unsigned.
TEST_F(Bridge, ValuesA32BitHostCannotHoldAreNeverCut)
{
    FakePlugin archive = AddOtherWidthFake("wide.spi", "wide",
                                           "entries=a.txt,far.txt,big.txt,late.txt,z.txt\ncontent.z.txt=zulu\n"
                                           "wideTable=1\nbeyond32.far.txt=position\nbeyond32.big.txt=fileSize\n"
                                           "beyond32.late.txt=timestamp\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    const std::string file = folder / "x.arc";
    WriteFileBytes(file, "FAKE archive");
    const std::wstring wideFile(file.begin(), file.end());
    LoadedFront front(folder.Arc());
    ASSERT_EQ(front.IsSupported(file.c_str(), 0), 1);

    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(file.c_str(), 0, kSpiInputFile, &table), 0);
    // Entries the host could not reach are left out; a date it cannot hold is "none".
    ASSERT_EQ(LocalSize(table), 4 * sizeof(SpiFileInfo));
    auto* entries = static_cast<SpiFileInfo*>(LocalLock(table));
    EXPECT_STREQ(entries[0].fileName, "a.txt");
    EXPECT_STREQ(entries[1].fileName, "late.txt");
    EXPECT_EQ(entries[1].timestamp, 0);
    EXPECT_EQ(entries[1].position, 3u);
    EXPECT_STREQ(entries[2].fileName, "z.txt");
    EXPECT_EQ(entries[2].position, 4u);
    EXPECT_EQ(entries[2].fileSize, 4u);
    EXPECT_EQ(entries[2].timestamp, 1700000004);
    EXPECT_EQ(entries[3].method[0], 0);
    LocalUnlock(table);
    LocalFree(table);

    ASSERT_EQ(front.GetArchiveInfoW(wideFile.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_EQ(LocalSize(table), 4 * sizeof(SpiFileInfoW));
    auto* wideEntries = static_cast<SpiFileInfoW*>(LocalLock(table));
    EXPECT_EQ(std::wstring(wideEntries[0].fileName), L"a.txt");
    EXPECT_EQ(std::wstring(wideEntries[1].fileName), L"late.txt");
    EXPECT_EQ(std::wstring(wideEntries[2].fileName), L"z.txt");
    LocalUnlock(table);
    LocalFree(table);

    SpiFileInfo late = {};
    ASSERT_EQ(front.GetFileInfo(file.c_str(), 0, "late.txt", kSpiInputFile, &late), 0);
    EXPECT_EQ(late.timestamp, 0);
    EXPECT_EQ(late.position, 3u);
    for (const std::string name : {"far.txt", "big.txt"}) {
        SCOPED_TRACE(name);
        SpiFileInfo entry;
        std::memset(&entry, 0xCC, sizeof entry);
        EXPECT_EQ(front.GetFileInfo(file.c_str(), 0, name.c_str(), kSpiInputFile, &entry), 2);
        EXPECT_EQ(entry.position, 0xCCCCCCCCu) << "the host's record is left alone";
        const std::wstring wideName(name.begin(), name.end());
        SpiFileInfoW wideEntry;
        std::memset(&wideEntry, 0xCC, sizeof wideEntry);
        EXPECT_EQ(front.GetFileInfoW(wideFile.c_str(), 0, wideName.c_str(), kSpiInputFile, &wideEntry), 2);
        EXPECT_EQ(wideEntry.fileSize, 0xCCCCCCCCu);
    }
    SpiFileInfo entry = {};
    ASSERT_EQ(front.GetFileInfo(file.c_str(), 0, "z.txt", kSpiInputFile, &entry), 0);
    EXPECT_EQ(entry.position, 4u);

    HLOCAL extracted = nullptr;
    front.GetFile(file.c_str(), static_cast<LONG_PTR>(0x80001000u), reinterpret_cast<LPSTR>(&extracted),
                  kSpiOutputMemory, nullptr, 0);
    EXPECT_EQ(archive.Count("GetFile|" + file + "|2147487744|memory"), 1);
    ASSERT_EQ(front.GetFile(file.c_str(), 4, reinterpret_cast<LPSTR>(&extracted), kSpiOutputMemory, nullptr, 0), 0);
    EXPECT_EQ(BlockBytes(extracted), "zulu");
    LocalFree(extracted);
}
#endif

// Some x64 plug-ins write their entry tables without the records' closing padding:
// the host still gets every entry whole, in both kinds of table.
TEST_F(Bridge, TablesWithoutTheRecordsPaddingCrossWhole)
{
    FakePlugin archive = AddOtherWidthFake("unpadded.spi", "wide",
                                           "entries=one.txt,two.txt,three.txt\nwideTable=1\nunpaddedTable=1\n");
    folder.WriteCatalogue(FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    const std::string file = folder / "u.arc";
    WriteFileBytes(file, "FAKE archive");
    const std::wstring wideFile(file.begin(), file.end());
    LoadedFront front(folder.Arc());
    HLOCAL table = nullptr;
    ASSERT_EQ(front.GetArchiveInfo(file.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_EQ(LocalSize(table), 4 * sizeof(SpiFileInfo));
    const auto* entries = static_cast<const SpiFileInfo*>(LocalLock(table));
    EXPECT_STREQ(entries[2].fileName, "three.txt");
    EXPECT_EQ(entries[2].position, 2u);
    EXPECT_EQ(entries[3].method[0], 0);
    LocalUnlock(table);
    LocalFree(table);
    ASSERT_EQ(front.GetArchiveInfoW(wideFile.c_str(), 0, kSpiInputFile, &table), 0);
    ASSERT_EQ(LocalSize(table), 4 * sizeof(SpiFileInfoW));
    const auto* wideEntries = static_cast<const SpiFileInfoW*>(LocalLock(table));
    EXPECT_EQ(std::wstring(wideEntries[2].fileName), L"three.txt");
    EXPECT_EQ(wideEntries[2].position, 2u);
    LocalUnlock(table);
    LocalFree(table);
}

// An answer that breaks off after one whole block: the call fails and the host's
// output slots hold what they held, with no block of the answer left in them.
TEST_F(Bridge, ABrokenAnswerLeavesTheHostsSlotsAlone)
{
    ASSERT_TRUE(CopyFileA((OtherSetFolder() + "broken_answer_helper.exe").c_str(),
                          (folder / BRISK_BRIDGE_PROGRAM).c_str(), FALSE));
    FakePlugin other = AddOtherWidthFake("other.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(other, "00IN", {{"*.pic", "P"}}));
    LoadedFront front(folder.Imp());
    ASSERT_EQ(front.IsSupported("a.pic", 0), 1);
    const HLOCAL mark = reinterpret_cast<HLOCAL>(0x5A5A);
    HLOCAL info = mark;
    HLOCAL bits = mark;
    EXPECT_EQ(front.GetPicture("a.pic", 0, kSpiInputMemory, &info, &bits, nullptr, 0), kSpiUnknownFormat);
    EXPECT_EQ(info, mark);
    EXPECT_EQ(bits, mark);
}

TEST_F(Bridge, OneHelperServesBothFrontsAndEndsWithTheLast)
{
    FakePlugin image = AddOtherWidthFake("image.spi", "all", "");
    FakePlugin archive = AddOtherWidthFake("archive.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "P"}}) + FakeRecord(archive, "00AM", {{"*.arc", "A"}}));
    LoadedFront imp(folder.Imp());
    LoadedFront arc(folder.Arc());
    ASSERT_EQ(imp.IsSupported("a.pic", 0), 1);
    ASSERT_EQ(arc.IsSupported("a.arc", 0), 1);
    EXPECT_EQ(HelperProcesses().size(), 1u);
    imp.Unload();
    EXPECT_EQ(image.Count("detach"), 1) << "the helper frees a plug-in with its last record";
    EXPECT_EQ(HelperProcesses().size(), 1u);
    EXPECT_EQ(arc.IsSupported("b.arc", 0), 1);
    arc.Unload();
    EXPECT_TRUE(NoHelperWithin(5000));
}

TEST_F(Bridge, TheHelperEndsWithTheHostProcess)
{
    FakePlugin image = AddOtherWidthFake("image.spi", "all", "logProcess=1\n");
    folder.WriteCatalogue(FakeRecord(image, "00IN", {{"*.pic", "P"}}));
    ProcessResult host =
        RunProcess("\"" + BinFolder() + "front_exit_host.exe\" \"" + folder.Imp() + "\" a.pic exit");
    ASSERT_NE(host.standardOutput.find("IsSupported 1"), std::string::npos) << host.standardOutput;
    std::string helper;
    for (const std::string& line : image.Calls()) {
        if (line.rfind("process|", 0) == 0)
            helper = line.substr(8);
    }
    ASSERT_FALSE(helper.empty()) << "the helper loaded the plug-in";
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::stoul(helper));
    if (process) {
        EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0) << "the helper outlived its host";
        CloseHandle(process);
    }
}

// Catalogue order among candidates whatever the width: the bridged plug-in comes first
// and fails in each way; the native one after it answers, and the next call to the
// bridged one works in a new helper. A hang costs the bridge's time limit.
TEST_F(Bridge, APluginThatCrashesExitsOrHangsFailsOnlyItsCall)
{
    FakePlugin other = AddOtherWidthFake("other.spi", "all", "fail.GetPicture=crash,exit,hang\nmark=1\n");
    FakePlugin native = folder.AddFake("native.spi", "all", "mark=3\n");
    folder.WriteCatalogue(FakeRecord(other, "00IN", {{"*.pic", "P"}}) + FakeRecord(native, "00IN", {{"*.pic", "P"}}));
    LoadedFront front(folder.Imp());
    for (const std::string how : {"crash", "exit", "hang"}) {
        SCOPED_TRACE(how);
        const std::string failing = how + ".pic";
        ASSERT_EQ(front.IsSupported(failing.c_str(), 0), 1);
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        ASSERT_EQ(front.GetPicture(failing.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0), 0);
        EXPECT_EQ(BlockBytes(bits)[0], 3) << "the next candidate answered";
        LocalFree(info);
        LocalFree(bits);
        EXPECT_EQ(other.Count("GetPicture|" + failing), 1);
        ASSERT_EQ(front.IsSupported("fine.pic", 0), 1);
        ASSERT_EQ(front.GetPicture("fine.pic", 0, kSpiInputFile, &info, &bits, nullptr, 0), 0);
        EXPECT_EQ(BlockBytes(bits)[0], 1) << "a new helper serves the plug-in again";
        LocalFree(info);
        LocalFree(bits);
    }
    EXPECT_EQ(HelperProcesses().size(), 1u);
}

// Calls from several threads take turns on the one channel: none is refused, and each
// thread's requests reach the plug-in its own probe chose.
TEST_F(Bridge, CallsFromSeveralThreadsAllGetTheirAnswers)
{
    FakePlugin first = AddOtherWidthFake("first.spi", "all", "quiet=1\nmark=41\n");
    FakePlugin second = AddOtherWidthFake("second.spi", "all", "quiet=1\nmark=42\n");
    folder.WriteCatalogue(FakeRecord(first, "00IN", {{"*.pa", "A"}}) + FakeRecord(second, "00IN", {{"*.pb", "B"}}));
    LoadedFront front(folder.Imp());
    constexpr int kThreads = 4;
    constexpr int kSteps = 60;
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int step = 0; step < kSteps; ++step) {
                const bool a = (t + step) % 2 == 0;
                const std::string name = "t" + std::to_string(t) + (a ? ".pa" : ".pb");
                HLOCAL info = nullptr;
                HLOCAL bits = nullptr;
                const bool right = front.IsSupported(name.c_str(), 0) == 1 &&
                                   front.GetPicture(name.c_str(), 0, kSpiInputMemory, &info, &bits, nullptr, 0) == 0 &&
                                   BlockBytes(bits)[0] == (a ? 41 : 42);
                wrong += right ? 0 : 1;
                LocalFree(info);
                LocalFree(bits);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(HelperProcesses().size(), 1u);
}

// A helper that died in a probe gave no answer: the name is not remembered as
// rejected, and the plug-in is asked again the next time.
TEST_F(Bridge, AProbeTheHelperCouldNotAnswerIsAskedAgain)
{
    FakePlugin other = AddOtherWidthFake("other.spi", "all", "fail.IsSupported=crash\n");
    folder.WriteCatalogue(FakeRecord(other, "00IN", {{"*.pic", "P"}}));
    LoadedFront front(folder.Imp());
    EXPECT_EQ(front.IsSupported("crash.pic", 0), 0);
    EXPECT_EQ(front.IsSupported("crash.pic", 0), 0);
    EXPECT_EQ(other.Count("IsSupported|crash.pic"), 2);
    EXPECT_EQ(front.IsSupported("fine.pic", 0), 1) << "the record is still bound";
}

// The character a Unicode window receives while a call waits.
std::atomic<WPARAM> receivedCharacter{0};

LRESULT CALLBACK RecordCharacter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR)
        receivedCharacter = wParam;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Bridge, WindowMessagesFlowAsTheirWindowsTakeThemWhileACallWaitsAndNotInsideAnUnload)
{
    FakePlugin other = AddOtherWidthFake("other.spi", "all", "");
    folder.WriteCatalogue(FakeRecord(other, "00IN", {{"*.pic", "P"}}));
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = RecordCharacter;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BriskBridgeTestWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(IsWindowUnicode(window));
    LoadedFront front(folder.Imp());
    receivedCharacter = 0;
    // A CJK character, which the ANSI code page cannot carry.
    ASSERT_TRUE(PostMessageW(window, WM_CHAR, 0x5199, 0));
    ASSERT_EQ(front.IsSupported("a.pic", 0), 1);
    EXPECT_EQ(receivedCharacter.load(), 0x5199u) << "the message was pumped through the code page";
    // The unload tells the helper the plug-in goes, and waits for it without running
    // the host's window procedures inside FreeLibrary.
    ASSERT_TRUE(PostMessageW(window, WM_CHAR, 0x5200, 0));
    front.Unload();
    EXPECT_EQ(receivedCharacter.load(), 0x5199u);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, window, WM_CHAR, WM_CHAR, PM_REMOVE));
    DestroyWindow(window);
    UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
}

}  // namespace
