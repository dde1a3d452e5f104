// Names the ANSI code page cannot write (code page 1252 here), from spihost's wide
// command line through both front plug-ins: the picture served by a plug-in with W
// entry points, the archive by an ANSI-only one that gets short names.
#include <gtest/gtest.h>

#include <windows.h>

#include "bmp_writer.h"
#include "child_process.h"
#include "fake_plugins.h"
#include "set_names.h"
#include "tar_writer.h"
#include "test_files.h"

namespace {

const std::wstring kPicture = L"\u5199\u771F\U0001F600.bmp";
const std::wstring kArchive = L"\u66F8\u5EAB\U0001F600.tar";
const std::wstring kOutput = L"\u51FA\u529B\U0001F600.bmp";
const std::wstring kFolder = L"\u5C55\u958B\U0001F600";
// The picture's name as spihost reports it, in UTF-8.
const char kPictureUtf8[] = "\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x98\x80.bmp";

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], static_cast<int>(wide.size())) - 1);
    return wide;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::string ReadWide(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "(missing)";
    std::string bytes(1 << 20, '\0');
    DWORD got = 0;
    ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

#define EXPECT_CONTAINS(text, part) EXPECT_TRUE(Contains(text, part)) << "missing \"" << (part) << "\" in:\n" << (text)

TEST(SpihostWideNames, PictureAndArchiveThroughBothFrontPlugins)
{
    if (!FileExists(BinFolder() + BRISK_IMAGE_FRONT) || !FileExists(BinFolder() + BRISK_ARCHIVE_FRONT))
        GTEST_SKIP() << "the front plug-ins are not built";
    TempFolder folder;
    for (const char* fixture :
         {BRISK_IMAGE_FRONT, BRISK_ARCHIVE_FRONT, BRISK_REGISTRY_LIBRARY, BRISK_SAMPLE_BMP, BRISK_SAMPLE_TAR})
        CopyFixture(fixture, folder / fixture);
    WriteFileBytes(folder / BRISK_DEFAULT_CATALOGUE,
                   CatalogueRecord(folder / BRISK_SAMPLE_BMP, "00IN", "bitmaps", false, {{"*.bmp", "Bitmap"}}) +
                       CatalogueRecord(folder / BRISK_SAMPLE_TAR, "00AM", "tar", false, {{"*.tar", "Tar"}}));
    const std::wstring base = Wide(folder.Path());
    const std::string picture = WriteBmp(PatternImage(5, 4, 24, false));
    WriteFileBytes(folder / "p.bmp", picture);
    WriteFileBytes(folder / "a.tar", WriteTar({{"hello.txt", "Hello"}, {"docs/readme.md", "Read me"}}));
    ASSERT_TRUE(MoveFileW((base + L"p.bmp").c_str(), (base + kPicture).c_str()));
    ASSERT_TRUE(MoveFileW((base + L"a.tar").c_str(), (base + kArchive).c_str()));
    const std::wstring spihost = Quoted(Wide(BinFolder() + BRISK_SPIHOST_PROGRAM));
    const std::wstring imageFront = Quoted(base + Wide(BRISK_IMAGE_FRONT));
    const std::wstring archiveFront = Quoted(base + Wide(BRISK_ARCHIVE_FRONT));

    // By default spihost calls the front plug-in's W entry points, which give the
    // sample its wide name; with --ansi it gives the front plug-in the short name.
    for (const wchar_t* options : {L"", L"--ansi "}) {
        DeleteFileW((base + kOutput).c_str());
        ProcessResult result = RunProcess(spihost + L" " + options + L"picture " + imageFront + L" " +
                                          Quoted(base + kPicture) + L" " + Quoted(base + kOutput));
        EXPECT_EQ(result.exitCode, 0) << result.standardOutput << result.standardError;
        EXPECT_CONTAINS(result.standardOutput, kPictureUtf8);
        EXPECT_CONTAINS(result.standardOutput, *options ? "GetPicture (file by name): 0" : "GetPictureW (file by name): 0");
        EXPECT_CONTAINS(result.standardOutput, "forwarding to: " BRISK_SAMPLE_BMP);
        EXPECT_EQ(ReadWide(base + kOutput).substr(0, 2), "BM");
    }

    ProcessResult extracted = RunProcess(spihost + L" extract " + archiveFront + L" " + Quoted(base + kArchive) + L" " +
                                         Quoted(base + kFolder));
    EXPECT_EQ(extracted.exitCode, 0) << extracted.standardOutput << extracted.standardError;
    EXPECT_CONTAINS(extracted.standardOutput, "GetArchiveInfoW (file by name): 0 (success), 2 entries");
    EXPECT_EQ(ReadWide(base + kFolder + L"\\hello.txt"), "Hello");
    EXPECT_EQ(ReadWide(base + kFolder + L"\\docs\\readme.md"), "Read me");

    ProcessResult one = RunProcess(spihost + L" --to-memory extract " + archiveFront + L" " + Quoted(base + kArchive) +
                                   L" " + Quoted(base + kFolder + L"2") + L" hello.txt");
    EXPECT_EQ(one.exitCode, 0) << one.standardOutput << one.standardError;
    EXPECT_CONTAINS(one.standardOutput, "GetFileInfoW hello.txt: 0 (success)");
    EXPECT_EQ(ReadWide(base + kFolder + L"2\\hello.txt"), "Hello");
}

}  // namespace
