// spilist given files that are no plug-in, empty and oversized paths, garbage on
// standard input, and a plug-in that never ends its information.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "fake_plugins.h"
#include "test_files.h"
#include "set_names.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

ProcessResult RunSpilist(const std::vector<std::string>& arguments, const std::string& input = "")
{
    std::string commandLine = Quoted(BinFolder() + BRISK_SPILIST_PROGRAM);
    for (const std::string& argument : arguments)
        commandLine += " " + Quoted(argument);
    return RunProcess(commandLine, input);
}

std::string Failed(const std::string& path)
{
    return path + "\r\nerror in " + path + "\r\n";
}

TEST(SpilistHostileInput, FilesThatAreNoPluginAreReportedAndTheRunGoesOn)
{
    TempFolder folder;
    WriteFileBytes(folder / "text.spi", "this is no library\r\n");
    WriteFileBytes(folder / "empty.spi", "");
    WriteFileBytes(folder / "truncated.spi", "MZ" + std::string(62, '\0'));
    std::string noise(65536, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    WriteFileBytes(folder / "noise.spi", "MZ" + noise);
    CreateDirectoryA((folder / "folder.spi").c_str(), nullptr);
    // A real library, but no plug-in.
    CopyFixture(BRISK_REGISTRY_LIBRARY, folder / "library.spi");
    FakePlugin refuses(folder.Path(), "refuses.spi", "all", "refuseLoad=1\ninfo.0=00IN\n");
    FakePlugin good(folder.Path(), "good.spi", "all", "info.0=00IN\ninfo.1=Good\ninfo.2=*.g\ninfo.3=Gs\n");

    const std::vector<std::string> bad = {folder / "text.spi",   folder / "empty.spi",  folder / "truncated.spi",
                                          folder / "noise.spi",  folder / "folder.spi", folder / "missing.spi",
                                          folder / "library.spi", refuses.Path(),       ""};
    std::vector<std::string> arguments = bad;
    arguments.push_back(good.Path());
    ProcessResult result = RunSpilist(arguments);

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(good.Path(), "00IN", "Good", true, {{"*.g", "Gs"}}));
    std::string expectedErrors;
    for (const std::string& path : bad)
        expectedErrors += Failed(path);
    EXPECT_EQ(result.standardError, expectedErrors + good.Path() + "\r\n");
    EXPECT_EQ(refuses.Count("GetPluginInfo"), 0);
}

TEST(SpilistHostileInput, OversizedAndGarbagePathsOnStandardInput)
{
    TempFolder folder;
    FakePlugin good(folder.Path(), "good.spi", "noconfig", "info.0=00AM\ninfo.1=Good\n");
    const std::string longPath = folder.Path() + std::string(100000, 'p') + ".spi";
    std::string input = longPath + "\r\n";
    std::string expectedErrors = Failed(longPath);
    // Lines of control and high bytes; line ends, zero bytes and Ctrl-Z are left out,
    // as they end or cut a path line.
    unsigned seed = 5;
    for (int line = 0; line < 500; ++line) {
        std::string path;
        for (int i = 0; i < 1 + line % 300; ++i) {
            seed = seed * 1664525u + 1013904223u;
            char byte = static_cast<char>(seed >> 24);
            if (byte == '\n' || byte == '\r' || byte == '\0' || byte == '\x1a')
                byte = '#';
            path.push_back(byte);
        }
        input += path + "\n";
        expectedErrors += Failed(path);
    }
    input += good.Path();
    ProcessResult result = RunSpilist({}, input);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(good.Path(), "00AM", "Good", false, {}));
    EXPECT_EQ(result.standardError, expectedErrors + good.Path() + "\r\n");
}

// Every number answered non-zero with an empty text: the numbers are capped, the
// stop is reported, and the record is still written, line for line.
TEST(SpilistHostileInput, PluginThatAnswersEveryNumberWithNothing)
{
    TempFolder folder;
    FakePlugin endless(folder.Path(), "endless.spi", "info_only", "info.all=\n");
    FakePlugin next(folder.Path(), "next.spi", "info_only", "info.0=00IN\ninfo.1=Next\n");
    ProcessResult result = RunSpilist({endless.Path(), next.Path()});
    EXPECT_EQ(result.exitCode, 0);
    std::string emptyLines;
    for (int i = 0; i < 2 + 9998; ++i)
        emptyLines += "\r\n";
    // Path, empty version and name, the flag, 4999 empty filters, the terminator.
    std::string endlessRecord = endless.Path() + "\r\n" + emptyLines.substr(0, 4) + "false\r\n" +
                                emptyLines.substr(4) + "-----\r\n";
    EXPECT_EQ(result.standardOutput, endlessRecord + CatalogueRecord(next.Path(), "00IN", "Next", false, {}));
    EXPECT_EQ(result.standardError, endless.Path() + "\r\ninformation numbers stopped at 10000 in " + endless.Path() +
                                        "\r\n" + next.Path() + "\r\n");
    EXPECT_EQ(endless.Count("detach"), 1);
}

// Every number answered with 60 000 bytes: the answers stop once they would pass
// 16 MiB together, the stop is reported, and what came before is written whole.
TEST(SpilistHostileInput, PluginWhoseAnswersNeverEndIsCutAtTheTextLimit)
{
    TempFolder folder;
    FakePlugin flood(folder.Path(), "flood.spi", "info_only", "info.0=00IN\ninfo.1=Flood\ninfo.all.fill=60000\n");
    FakePlugin next(folder.Path(), "next.spi", "info_only", "info.0=00IN\ninfo.1=Next\n");
    ProcessResult result = RunSpilist({flood.Path(), next.Path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardError, flood.Path() + "\r\ninformation texts stopped at 16777216 bytes in " + flood.Path() +
                                        "\r\n" + next.Path() + "\r\n");
    const std::string nextRecord = CatalogueRecord(next.Path(), "00IN", "Next", false, {});
    ASSERT_GT(result.standardOutput.size(), nextRecord.size());
    EXPECT_EQ(result.standardOutput.substr(result.standardOutput.size() - nextRecord.size()), nextRecord);
    std::string floodRecord = result.standardOutput.substr(0, result.standardOutput.size() - nextRecord.size());
    const std::string head = flood.Path() + "\r\n00IN\r\nFlood\r\n";
    EXPECT_EQ(floodRecord.substr(0, head.size()), head);
    EXPECT_EQ(floodRecord.substr(floodRecord.size() - 7), "-----\r\n");
    // Everything up to the limit is kept: less than one answer short of it.
    EXPECT_LE(floodRecord.size(), 16u * 1024 * 1024 + 64 * 1024);
    EXPECT_GT(floodRecord.size(), 16u * 1024 * 1024 - 2 * 60000);
    EXPECT_EQ(flood.Count("detach"), 1);
}

}  // namespace
