#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "bmp_writer.h"
#include "child_process.h"
#include "fake_plugins.h"
#include "narrow_programs.h"
#include "tar_writer.h"
#include "test_files.h"
#include "set_names.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

ProcessResult Spihost(const std::string& arguments)
{
    return RunProcess(Quoted(BinFolder() + BRISK_SPIHOST_PROGRAM) + " " + arguments);
}

std::string Sample(const std::string& fileName)
{
    return Quoted(BinFolder() + fileName);
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

#define EXPECT_CONTAINS(text, part) EXPECT_TRUE(Contains(text, part)) << "missing \"" << (part) << "\" in:\n" << (text)

TEST(Spihost, UsageErrorsExitWithTwo)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "no command given"},
        {"frobnicate x", "unknown command frobnicate"},
        {"info onlyone", "wrong number of arguments for info"},
        {"extract a b c d e", "wrong number of arguments for extract"},
        {"--bogus plugin x", "unknown option --bogus"},
        {"--to-memory info a b", "--to-memory applies to extract only"},
        {"--from-memory extract a b c", "--from-memory applies to info, picture and list only"},
        {"--preview info a b", "--preview applies to picture only"},
    };
    for (const auto& [arguments, message] : cases) {
        ProcessResult result = Spihost(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_CONTAINS(result.standardError, message);
        EXPECT_CONTAINS(result.standardError, "usage: spihost");
    }
}

TEST(Spihost, PluginCommandShowsInformationAndExports)
{
    ProcessResult result = Spihost("plugin " + Sample(BRISK_SAMPLE_BMP));
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_CONTAINS(result.standardOutput, "00IN image import filter \"BriskSPI sample bitmap reader 1.0\"");
    EXPECT_CONTAINS(result.standardOutput, "filter 1  *.bmp;*.dib  \"Windows bitmap (uncompressed)\"");
    EXPECT_CONTAINS(result.standardOutput, "exports   GetPluginInfo IsSupported GetPictureInfo GetPicture GetPreview "
                                           "ConfigurationDlg");
    EXPECT_CONTAINS(result.standardOutput, "lacks     GetArchiveInfo GetFileInfo GetFile");
}

// Why a plug-in cannot serve: each reason in words, and exit status 3.
TEST(Spihost, SaysWhyAPluginCannotBeUsed)
{
    TempFolder folder;
    WriteFileBytes(folder / "text.spi", "just some text, not a library");
    CreateDirectoryA((folder / "folder.spi").c_str(), nullptr);
    FakePlugin infoOnly(folder.Path(), "info_only.spi", "info_only", "info.0=00IN\ninfo.1=only information\n");
    FakePlugin noInfo(folder.Path(), "no_info.spi", "no_info", "");
    WriteFileBytes(folder / "a.bmp", WriteBmp(PatternImage(2, 2, 24, false)));
    const std::pair<std::string, std::string> cases[] = {
        {"missing.spi", "no such file"},
        {"text.spi", "not a Windows library this " + std::to_string(8 * sizeof(void*)) + "-bit program can load"},
        {"folder.spi", "it is a folder"},
        {"info_only.spi", "info_only.spi does not export IsSupported"},
        {"no_info.spi", "exports no GetPluginInfo"},
    };
    for (const auto& [plugin, message] : cases) {
        ProcessResult result = Spihost("info " + Quoted(folder / plugin) + " " + Quoted(folder / "a.bmp"));
        EXPECT_EQ(result.exitCode, 3) << plugin;
        EXPECT_CONTAINS(result.standardError, message);
    }
}

TEST(Spihost, RefusalAndResultCodesAreExplained)
{
    TempFolder folder;
    WriteFileBytes(folder / "a.tar", WriteTar({{"x.txt", "x"}}));
    WriteFileBytes(folder / "a.bmp", WriteBmp(PatternImage(2, 2, 24, false)));
    FakePlugin broken(folder.Path(), "broken.spi", "image", "info.0=00IN\nGetPictureInfo=3\nGetPicture=6\n");

    ProcessResult refused = Spihost("info " + Sample(BRISK_SAMPLE_BMP) + " " + Quoted(folder / "a.tar"));
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_CONTAINS(refused.standardOutput, "IsSupportedW, given the first 2 KB of the file: no (answer 0)");
    EXPECT_CONTAINS(refused.standardError, BRISK_SAMPLE_BMP " does not accept " + folder / "a.tar");

    ProcessResult info = Spihost("info " + Quoted(broken.Path()) + " " + Quoted(folder / "a.bmp"));
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_CONTAINS(info.standardError, "GetPictureInfo returned 3 (broken data)");

    ProcessResult picture =
        Spihost("picture " + Quoted(broken.Path()) + " " + Quoted(folder / "a.bmp") + " " + Quoted(folder / "o.bmp"));
    EXPECT_EQ(picture.exitCode, 1);
    EXPECT_CONTAINS(picture.standardError, "GetPicture returned 6 (read error)");
    EXPECT_FALSE(FileExists(folder / "o.bmp"));

    ProcessResult missing = Spihost("info " + Sample(BRISK_SAMPLE_BMP) + " " + Quoted(folder / "none.bmp"));
    EXPECT_EQ(missing.exitCode, 5);
    EXPECT_CONTAINS(missing.standardError, "none.bmp: no such file");
}

// x64 plug-ins built without the record's padding write hInfo two bytes early; the
// picture's size and text come out right from both layouts.
TEST(Spihost, InfoReadsThePictureRecordWithOrWithoutPadding)
{
    TempFolder folder;
    WriteFileBytes(folder / "a.bmp", WriteBmp(PatternImage(2, 2, 24, false)));
    for (const char* layout : {"unpadded=0", "unpadded=1"}) {
        FakePlugin fake(folder.Path(), "fake.spi", "image",
                        std::string("info.0=00IN\npictureText=camera: test\n") + layout + "\n");
        ProcessResult info = Spihost("info " + Quoted(fake.Path()) + " " + Quoted(folder / "a.bmp"));
        EXPECT_EQ(info.exitCode, 0) << layout << "\n" << info.standardError;
        EXPECT_CONTAINS(info.standardOutput, "2 x 2 pixels, 8 bits per pixel");
        EXPECT_CONTAINS(info.standardOutput, "text: camera: test");
        bool noted = info.standardOutput.find("without the padding") != std::string::npos;
        EXPECT_EQ(noted, sizeof(void*) == 8 && std::string(layout) == "unpadded=1") << layout;
    }
}

// The written file is the picture in bottom-up form, whatever way the plug-in was
// given the file.
TEST(Spihost, PictureWritesTheDecodedBitmap)
{
    TempFolder folder;
    BmpImage image = PatternImage(13, 7, 8, true);
    WriteFileBytes(folder / "in.bmp", WriteBmp(image));
    image.topDown = false;
    std::string expected = WriteBmp(image);
    for (const char* options : {"", "--from-memory", "--handle", "--preview"}) {
        std::string output = folder / "out.bmp";
        DeleteFileA(output.c_str());
        ProcessResult result = Spihost(std::string(options) + " picture " + Sample(BRISK_SAMPLE_BMP) + " " +
                                       Quoted(folder / "in.bmp") + " " + Quoted(output));
        EXPECT_EQ(result.exitCode, 0) << options << "\n" << result.standardError;
        EXPECT_EQ(ReadFileBytes(output), expected) << options;
        EXPECT_CONTAINS(result.standardOutput, "13 x 7 pixels, 8 bits per pixel, rows stored bottom-up");
        EXPECT_CONTAINS(result.standardOutput, "served by " BRISK_SAMPLE_BMP);
    }

    ProcessResult unwritable = Spihost("picture " + Sample(BRISK_SAMPLE_BMP) + " " + Quoted(folder / "in.bmp") + " " +
                                       Quoted(folder / "no\\such\\folder\\out.bmp"));
    EXPECT_EQ(unwritable.exitCode, 5);
    EXPECT_CONTAINS(unwritable.standardError, "cannot write");
}

TEST(Spihost, InfoShowsWhatThePluginSees)
{
    TempFolder folder;
    WriteFileBytes(folder / "in.bmp", WriteBmp(PatternImage(13, 7, 4, false)));
    // The W entry points when the plug-in exports them, as hosts choose; --ansi the others.
    for (const char* kind : {"W", ""}) {
        const std::string options = *kind ? "--handle " : "--handle --ansi ";
        ProcessResult result = Spihost(options + "info " + Sample(BRISK_SAMPLE_BMP) + " " + Quoted(folder / "in.bmp"));
        EXPECT_EQ(result.exitCode, 0) << result.standardError;
        EXPECT_CONTAINS(result.standardOutput, "IsSupported" + std::string(kind) + ", given a file handle: yes (answer 1)");
        EXPECT_CONTAINS(result.standardOutput, "GetPictureInfo" + std::string(kind) + " (file by name): 0 (success)");
        EXPECT_CONTAINS(result.standardOutput, "13 x 7 pixels, 4 bits per pixel, 72 x 72 dpi");
        EXPECT_CONTAINS(result.standardOutput, "text: Windows bitmap, 4 bits per pixel, stored bottom-up");
    }
}

class SpihostArchive : public ::testing::Test {
protected:
    TempFolder folder;
    std::string archive = folder / "a.tar";
    std::string output = folder / "out";

    void SetUp() override
    {
        WriteFileBytes(archive, WriteTar({{"hello.txt", "Hello"}, {"docs/readme.md", std::string(900, 'r')}}));
    }

    ProcessResult Run(const std::string& command, const std::string& more = "")
    {
        return Spihost(command + " " + Sample(BRISK_SAMPLE_TAR) + " " + Quoted(archive) + more);
    }
};

TEST_F(SpihostArchive, ListShowsEveryEntry)
{
    for (const char* options : {"", "--from-memory "}) {
        ProcessResult result = Run(std::string(options) + "list");
        EXPECT_EQ(result.exitCode, 0) << result.standardError;
        EXPECT_CONTAINS(result.standardOutput, "GetArchiveInfo");
        EXPECT_CONTAINS(result.standardOutput, "0 (success), 2 entries");
        EXPECT_CONTAINS(result.standardOutput, "ustar             0          5");
        EXPECT_CONTAINS(result.standardOutput, "ustar          1024        900");
        EXPECT_CONTAINS(result.standardOutput, "docs\\readme.md");
    }
}

TEST_F(SpihostArchive, ExtractKeepsFoldersToFolderAndThroughMemory)
{
    for (const char* options : {"", "--to-memory "}) {
        ProcessResult result = Run(std::string(options) + "extract", " " + Quoted(output));
        EXPECT_EQ(result.exitCode, 0) << options << result.standardError;
        EXPECT_EQ(ReadFileBytes(output + "\\hello.txt"), "Hello") << options;
        EXPECT_EQ(ReadFileBytes(output + "\\docs\\readme.md"), std::string(900, 'r')) << options;
        EXPECT_CONTAINS(result.standardOutput, "(900 bytes)");
        DeleteFileA((output + "\\hello.txt").c_str());
        DeleteFileA((output + "\\docs\\readme.md").c_str());
    }
}

TEST_F(SpihostArchive, ExtractOneEntryByName)
{
    ProcessResult result = Run("extract", " " + Quoted(output) + " docs/readme.md");
    EXPECT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_CONTAINS(result.standardOutput, "GetFileInfo docs/readme.md: 0 (success)");
    EXPECT_EQ(ReadFileBytes(output + "\\docs\\readme.md"), std::string(900, 'r'));
    EXPECT_FALSE(FileExists(output + "\\hello.txt"));

    ProcessResult missing = Run("extract", " " + Quoted(output) + " nothing.txt");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_CONTAINS(missing.standardError, BRISK_SAMPLE_TAR " finds no entry nothing.txt");
    EXPECT_CONTAINS(missing.standardError, "GetFileInfo returned 2 (unknown format)");
}

// Some x64 plug-ins hand out entry tables in steps of the records' fields, without the
// 4 padding bytes: every entry is still listed and extracted right, and spihost says
// which layout it read.
TEST(Spihost, ReadsEntryTablesWithOrWithoutPadding)
{
    TempFolder folder;
    WriteFileBytes(folder / "a.arc", "FAKE archive");
    for (const char* layout : {"unpaddedTable=0", "unpaddedTable=1"}) {
        FakePlugin fake(folder.Path(), "fake.spi", "wide",
                        std::string("info.0=00AM\nwideTable=1\nentries=a.txt,b.txt,c.txt\ncontent.a.txt=alpha\n"
                                    "content.b.txt=bravo!\ncontent.c.txt=charlie\n") +
                            layout + "\n");
        for (const char* api : {"", "--ansi "}) {
            SCOPED_TRACE(std::string(layout) + " " + api);
            const std::string output = folder / "out";
            ProcessResult run = Spihost(std::string(api) + "--to-memory extract " + Quoted(fake.Path()) + " " +
                                        Quoted(folder / "a.arc") + " " + Quoted(output));
            EXPECT_EQ(run.exitCode, 0) << run.standardError;
            EXPECT_CONTAINS(run.standardOutput, "0 (success), 3 entries");
            const char* names[] = {"a.txt", "b.txt", "c.txt"};
            const std::string contents[] = {"alpha", "bravo!", "charlie"};
            for (int i = 0; i < 3; ++i) {
                char line[128];
                std::snprintf(line, sizeof line, "  %-8s %10d %10d  2023-11-14 22:13  %s", *api ? "FAKE" : "FAKEW",
                              i, static_cast<int>(contents[i].size()), names[i]);
                EXPECT_CONTAINS(run.standardOutput, line);
                const std::string file = output + "\\" + names[i];
                EXPECT_EQ(ReadFileBytes(file), contents[i]);
                DeleteFileA(file.c_str());
            }
            const bool unpadded = sizeof(void*) == 8 && std::string(layout) == "unpaddedTable=1";
            EXPECT_EQ(Contains(run.standardOutput, "without the padding"), unpadded) << run.standardOutput;
            if (unpadded) {
                EXPECT_CONTAINS(run.standardOutput, *api ? "in 444-byte steps" : "in 844-byte steps");
            }
            EXPECT_FALSE(Contains(run.standardOutput, "no closing entry")) << run.standardOutput;
        }
    }
}

// Through a front plug-in, spihost explains the answer from the catalogue beside it.
TEST(Spihost, ReportsWhatTheFrontPluginsCatalogueSays)
{
    if (!FileExists(BinFolder() + BRISK_IMAGE_FRONT))
        GTEST_SKIP() << "the front plug-in is not built";
    TempFolder folder;
    CopyFixture(BRISK_IMAGE_FRONT, folder / BRISK_IMAGE_FRONT);
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder / BRISK_REGISTRY_LIBRARY);
    std::string missing = folder / "gone\\gone.spi";
    WriteFileBytes(folder / BRISK_DEFAULT_CATALOGUE,
                   CatalogueRecord(BinFolder() + BRISK_SAMPLE_BMP, "00IN", "bitmaps", true, {{"*.bmp", "Bitmap"}}) +
                       CatalogueRecord(missing, "00IN", "gone", false, {{"*.bmp;*.gif", "Gone"}}) +
                       CatalogueRecord("relative\\nowhere.spi", "00IN", "relative", false, {{"*.bmp", "Rel"}}) +
                       CatalogueRecord(BinFolder() + BRISK_SAMPLE_TAR, "00AM", "tar", true, {{"*.tar", "Tar"}}));
    WriteFileBytes(folder / "a.bmp", WriteBmp(PatternImage(3, 3, 24, false)));
    WriteFileBytes(folder / "a.png", "\x89PNG");

    ProcessResult accepted = Spihost("info " + Quoted(folder / BRISK_IMAGE_FRONT) + " " + Quoted(folder / "a.bmp"));
    EXPECT_EQ(accepted.exitCode, 0) << accepted.standardError;
    EXPECT_CONTAINS(accepted.standardOutput, BRISK_DEFAULT_CATALOGUE ": 4 records, 3 of version 00IN");
    EXPECT_CONTAINS(accepted.standardOutput, BRISK_SAMPLE_BMP ": *.bmp matches; IsSupportedW says yes");
    EXPECT_CONTAINS(accepted.standardOutput, missing + ": *.bmp matches; cannot be loaded: no such file");
    EXPECT_CONTAINS(accepted.standardOutput, "relative\\nowhere.spi: *.bmp matches; cannot be loaded");
    EXPECT_CONTAINS(accepted.standardOutput, "the path is relative, and Windows does not look beside the catalogue");
    EXPECT_CONTAINS(accepted.standardOutput, "served by " BRISK_IMAGE_FRONT ", forwarding to: " BRISK_SAMPLE_BMP);

    ProcessResult refused = Spihost("info " + Quoted(folder / BRISK_IMAGE_FRONT) + " " + Quoted(folder / "a.png"));
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_CONTAINS(refused.standardOutput, BRISK_SAMPLE_BMP ": no pattern matches (*.bmp)");
    EXPECT_CONTAINS(refused.standardOutput, missing + ": no pattern matches (*.bmp;*.gif)");

    DeleteFileA((folder / BRISK_DEFAULT_CATALOGUE).c_str());
    ProcessResult noCatalogue = Spihost("info " + Quoted(folder / BRISK_IMAGE_FRONT) + " " + Quoted(folder / "a.bmp"));
    EXPECT_EQ(noCatalogue.exitCode, 4);
    EXPECT_CONTAINS(noCatalogue.standardOutput, "note: no catalogue " + folder / BRISK_DEFAULT_CATALOGUE);
}

}  // namespace

namespace {

#if defined(_WIN64)
const char* const kOtherWidthSample = "SampleBmp.spi";
const char* const kOtherWidthTar = "SampleTar.spi";
#else
const char* const kOtherWidthSample = "SampleBmp.sph";
const char* const kOtherWidthTar = "SampleTar.sph";
#endif

std::string OtherSetFile(const std::string& name)
{
    return WineFolder(BRISK_OTHER_SET_BIN) + name;
}

// What spilist writes for these plug-ins now.
std::string FreshRecords(const std::vector<std::string>& paths)
{
    std::string command = Quoted(BinFolder() + BRISK_SPILIST_PROGRAM);
    for (const std::string& path : paths)
        command += " " + Quoted(path);
    return RunProcess(command).standardOutput;
}

// The other width's sample plug-ins through the helper beside spihost: its first line
// says so, and the picture and the entries arrive whole.
TEST(Spihost, ServesPluginsOfTheOtherWidthThroughTheHelper)
{
    if (!CanRunTheBridgeHelper())
        GTEST_SKIP() << "this machine runs no " BRISK_BRIDGED_WIDTH " programs: the bridge cannot serve here";
    TempFolder folder;
    BmpImage image = PatternImage(13, 7, 24, false);
    WriteFileBytes(folder / "in.bmp", WriteBmp(image));
    WriteFileBytes(folder / "a.tar", WriteTar({{"hello.txt", "Hello"}, {"docs/readme.md", std::string(900, 'r')}}));
    const std::string bridged = "bridged: a " BRISK_BRIDGED_WIDTH " plug-in, served by " BRISK_BRIDGE_PROGRAM;

    ProcessResult picture = Spihost("picture " + Quoted(OtherSetFile(kOtherWidthSample)) + " " +
                                    Quoted(folder / "in.bmp") + " " + Quoted(folder / "out.bmp"));
    EXPECT_EQ(picture.exitCode, 0) << picture.standardOutput << picture.standardError;
    EXPECT_EQ(picture.standardOutput.rfind(bridged, 0), 0u) << picture.standardOutput;
    EXPECT_EQ(ReadFileBytes(folder / "out.bmp"), WriteBmp(image));

    for (const char* options : {"", "--to-memory "}) {
        const std::string out = folder / (*options ? "memory" : "files");
        ProcessResult extract = Spihost(std::string(options) + "extract " + Quoted(OtherSetFile(kOtherWidthTar)) + " " +
                                        Quoted(folder / "a.tar") + " " + Quoted(out));
        EXPECT_EQ(extract.exitCode, 0) << options << extract.standardOutput << extract.standardError;
        EXPECT_EQ(extract.standardOutput.rfind(bridged, 0), 0u) << extract.standardOutput;
        EXPECT_EQ(ReadFileBytes(out + "\\hello.txt"), "Hello") << options;
        EXPECT_EQ(ReadFileBytes(out + "\\docs\\readme.md"), std::string(900, 'r')) << options;
    }
}

TEST(SpihostCheck, NamesEveryKindOfStaleRecordAndPassesAFreshCatalogue)
{
    TempFolder folder;
    const std::string bmp = folder / BRISK_SAMPLE_BMP;
    const std::string tar = folder / BRISK_SAMPLE_TAR;
    CopyFixture(BRISK_SAMPLE_BMP, bmp);
    CopyFixture(BRISK_SAMPLE_TAR, tar);
    WriteFileBytes(folder / "fresh.txt", FreshRecords({bmp, tar}));
    ProcessResult fresh = Spihost("check " + Quoted(folder / "fresh.txt"));
    EXPECT_EQ(fresh.exitCode, 0) << fresh.standardOutput << fresh.standardError;
    EXPECT_CONTAINS(fresh.standardOutput, "all 2 records are up to date");

    const std::string otherWidth = folder / "other_width.spi";
    ASSERT_TRUE(CopyFileA(OtherSetFile(kOtherWidthSample).c_str(), otherWidth.c_str(), FALSE));
    WriteFileBytes(folder / "broken.spi", "not a library at all");
    FakePlugin changed(folder.Path(), "changed.spi", "info_only", "info.0=00IN\ninfo.1=New name\ninfo.2=*.a\ninfo.3=A\n");
    std::string stale = FreshRecords({bmp}) + CatalogueRecord(folder / "gone.spi", "00IN", "gone", false, {}) +
                        CatalogueRecord(folder / "broken.spi", "00IN", "broken", false, {}) +
                        CatalogueRecord(otherWidth, "00IN", "other", false, {}) +
                        CatalogueRecord(changed.Path(), "00IN", "Old name", true, {{"*.a;*.b", "A"}}) +
                        CatalogueRecord(folder / BRISK_IMAGE_FRONT, "00IN", "front", true, {}) +
                        CatalogueRecord(folder / "SAMPLEBMP" BRISK_PLUGIN_EXTENSION, "00IN", "twice", true, {});
    WriteFileBytes(folder / "stale.txt", stale);
    ProcessResult check = Spihost("check " + Quoted(folder / "stale.txt"));
    EXPECT_EQ(check.exitCode, 6) << check.standardOutput << check.standardError;
    const std::string& out = check.standardOutput;
    EXPECT_EQ(out.find("record 1,"), std::string::npos) << out;
    EXPECT_CONTAINS(out, "record 2, " + folder / "gone.spi" + ": missing: no such file");
    EXPECT_CONTAINS(out, "record 3, " + folder / "broken.spi" + ": cannot be loaded: not a Windows library");
    // The helper beside spihost serves the plug-in of the other width: its record is
    // checked as any other, where programs of that width run at all.
    const bool bridged = CanRunTheBridgeHelper();
    if (bridged) {
        EXPECT_CONTAINS(out, "record 4, " + otherWidth + ": changed: name \"other\" in the catalogue");
        EXPECT_EQ(out.find("of the other width"), std::string::npos) << out;
    } else {
        EXPECT_CONTAINS(out, "record 4, " + otherWidth + ": a " BRISK_BRIDGED_WIDTH " plug-in");
    }
    EXPECT_CONTAINS(out, "changed: name \"Old name\" in the catalogue, \"New name\" now");
    EXPECT_CONTAINS(out, "changed: flag true in the catalogue, false now");
    EXPECT_CONTAINS(out, "changed: filter 1 patterns \"*.a;*.b\" in the catalogue, \"*.a\" now");
    EXPECT_CONTAINS(out, "record 6, " + folder / BRISK_IMAGE_FRONT + ": lists a front plug-in itself");
    EXPECT_CONTAINS(out, "record 7, " + folder / "SAMPLEBMP" BRISK_PLUGIN_EXTENSION + ": listed twice (first in record 1)");
    if (bridged)
        EXPECT_CONTAINS(out, "6 of 7 records are stale (1 missing, 1 cannot be loaded, 6 changed, 1 a front plug-in, "
                             "1 listed twice)");
    else
        EXPECT_CONTAINS(out, "6 of 7 records are stale (1 missing, 1 cannot be loaded, 1 of the other width, "
                             "3 changed, 1 a front plug-in, 1 listed twice)");
    // Each plug-in was loaded once, and freed.
    EXPECT_EQ(changed.Count("attach"), 1);
    EXPECT_EQ(changed.Count("detach"), 1);
}

// Without an operand, the catalogue the front plug-ins beside spihost would read.
TEST(SpihostCheck, ReadsTheCatalogueBesideItselfOrTheSwitchedOne)
{
    TempFolder folder;
    const std::string host = folder / BRISK_SPIHOST_PROGRAM;
    CopyFixture(BRISK_SPIHOST_PROGRAM, host);
    CopyFixture(BRISK_SAMPLE_BMP, folder / BRISK_SAMPLE_BMP);
    WriteFileBytes(folder / BRISK_DEFAULT_CATALOGUE, FreshRecords({folder / BRISK_SAMPLE_BMP}));
    WriteFileBytes(folder / "other.txt", CatalogueRecord(folder / "gone.spi", "00IN", "gone", false, {}));

    ProcessResult beside = RunProcess(Quoted(host) + " check");
    EXPECT_EQ(beside.exitCode, 0) << beside.standardOutput << beside.standardError;
    EXPECT_CONTAINS(beside.standardOutput, "catalogue " + folder / BRISK_DEFAULT_CATALOGUE + ": 1 record");
    ProcessResult switched = RunProcess(Quoted(host) + " /configfile:other.txt check");
    EXPECT_EQ(switched.exitCode, 6) << switched.standardOutput;
    EXPECT_CONTAINS(switched.standardOutput, "catalogue " + folder / "other.txt" + ": 1 record");
    DeleteFileA((folder / BRISK_DEFAULT_CATALOGUE).c_str());
    EXPECT_EQ(RunProcess(Quoted(host) + " check").exitCode, 5);
}

}  // namespace
