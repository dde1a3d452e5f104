// make-catalogue.cmd under the command interpreter, as a Windows user runs it: folders
// with spaces, plug-ins of both widths in each catalogue (a plug-in in both widths
// once, in the catalogue's own), the previous catalogue kept.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "catalogue_reader.h"
#include "child_process.h"
#include "narrow_programs.h"
#include "set_names.h"
#include "test_files.h"

namespace {

// The 32-bit and the 64-bit build folders: the script uses spilist and spilist64.
const std::string k32BitBin = WineFolder(BRISK_32BIT_BIN);
const std::string k64BitBin = WineFolder(BRISK_64BIT_BIN);

std::list<PluginModule> ReadRecords(const std::string& path)
{
    std::istringstream input(ReadFileBytes(path));
    return ReadCatalogue(input);
}

void Copy(const std::string& from, const std::string& to)
{
    ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from;
}

TEST(MakeCatalogue, WritesBothCataloguesOfAFolderWithSpacesAndKeepsThePreviousOnes)
{
    if (!CanRun32BitPrograms() || !CanRun64BitPrograms())
        GTEST_SKIP() << "this machine runs programs of one width only: the catalogues cannot both be made here";
    TempFolder root;
    const std::string tools = root / "release files\\";
    const std::string plugins = root / "my plug-ins\\";
    ASSERT_TRUE(CreateDirectoryA(tools.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((plugins + "sub folder").c_str(), nullptr));
    Copy(BRISK_MAKE_CATALOGUE, tools + "make-catalogue.cmd");
    Copy(k32BitBin + "spilist.exe", tools + "spilist.exe");
    Copy(k64BitBin + "spilist64.exe", tools + "spilist64.exe");
    Copy(k32BitBin + "briskbridge32.exe", tools + "briskbridge32.exe");
    Copy(k64BitBin + "briskbridge64.exe", tools + "briskbridge64.exe");
    Copy(k32BitBin + "SampleBmp.spi", plugins + "SampleBmp.spi");
    Copy(k32BitBin + "SampleTar.spi", plugins + "sub folder\\SampleTar.spi");
    Copy(k64BitBin + "SampleBmp.sph", plugins + "SampleBmp.sph");
    Copy(k64BitBin + "SampleTar.sph", plugins + "Tar64.sph");
    // A front plug-in in the folder is left out: it would forward to itself.
    Copy(k32BitBin + "BriskImp.spi", plugins + "BriskImp.spi");
    WriteFileBytes(tools + "briskspi.txt", "the previous catalogue\r\n");

    std::string folder = plugins.substr(0, plugins.size() - 1);
    ProcessResult run = RunProcess("cmd /c \"\"" + tools + "make-catalogue.cmd\" \"" + folder + "\"\"", "\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.standardOutput << run.standardError;
    EXPECT_NE(run.standardOutput.find("briskspi.txt: written with 3 plug-in record(s)"), std::string::npos)
        << run.standardOutput;
    EXPECT_NE(run.standardOutput.find("briskspi64.txt: written with 3 plug-in record(s)"), std::string::npos)
        << run.standardOutput;
    EXPECT_EQ(ReadFileBytes(tools + "briskspi.txt.bak"), "the previous catalogue\r\n");

    auto paths = [](const std::list<PluginModule>& records) {
        std::vector<std::string> list;
        for (const PluginModule& record : records)
            list.push_back(std::string(record.path) + "|" + std::string(record.version));
        return list;
    };
    // Each set's own width first; the other width's through the bridge.
    EXPECT_EQ(paths(ReadRecords(tools + "briskspi.txt")),
              (std::vector<std::string>{plugins + "SampleBmp.spi|00IN", plugins + "sub folder\\SampleTar.spi|00AM",
                                        plugins + "Tar64.sph|00AM"}));
    std::list<PluginModule> records64 = ReadRecords(tools + "briskspi64.txt");
    EXPECT_EQ(paths(records64),
              (std::vector<std::string>{plugins + "SampleBmp.sph|00IN", plugins + "Tar64.sph|00AM",
                                        plugins + "sub folder\\SampleTar.spi|00AM"}));
    ASSERT_FALSE(records64.empty());
    EXPECT_FALSE(records64.front().filters.empty());

    // A folder without plug-ins of a kind leaves that catalogue as it was.
    const std::string empty = root / "no plug-ins";
    ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
    std::string before = ReadFileBytes(tools + "briskspi.txt");
    ProcessResult none = RunProcess("cmd /c \"\"" + tools + "make-catalogue.cmd\" \"" + empty + "\"\"", "\r\n");
    EXPECT_NE(none.standardOutput.find("briskspi.txt: not written, no .spi or .sph plug-ins"), std::string::npos)
        << none.standardOutput;
    EXPECT_EQ(ReadFileBytes(tools + "briskspi.txt"), before);
}

}  // namespace
