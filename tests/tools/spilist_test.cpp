#include <gtest/gtest.h>
#include <windows.h>

#include <list>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue_reader.h"
#include "child_process.h"
#include "fake_plugins.h"
#include "narrow_programs.h"
#include "test_files.h"
#include "set_names.h"

namespace {

using Filters = std::vector<std::pair<std::string, std::string>>;

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

ProcessResult RunSpilist(const std::vector<std::string>& paths, const std::string& input = "")
{
    std::string commandLine = Quoted(BinFolder() + BRISK_SPILIST_PROGRAM);
    for (const std::string& path : paths)
        commandLine += " " + Quoted(path);
    return RunProcess(commandLine, input);
}

// What standard error shows for a path that loads (`failed` false) or not.
std::string Progress(const std::string& path, bool failed = false)
{
    return path + "\r\n" + (failed ? "error in " + path + "\r\n" : "");
}

TEST(Spilist, WritesOneRecordPerQueriedPluginInArgumentOrder)
{
    TempFolder folder;
    FakePlugin image(folder.Path(), "image.spi", "all", "info.0=00IN\ninfo.1=Image\ninfo.2=*.a;*.b\ninfo.3=As\n");
    FakePlugin archive(folder.Path(), "archive.spi", "noconfig", "info.0=00AM\ninfo.1=Archive\n");
    std::string missing = folder / "missing.spi";
    // No options: an argument that looks like one is a path like any other.
    ProcessResult result = RunSpilist({archive.Path(), missing, "/?", image.Path()});

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(archive.Path(), "00AM", "Archive", false, {}) +
                                         CatalogueRecord(image.Path(), "00IN", "Image", true, {{"*.a;*.b", "As"}}));
    EXPECT_EQ(result.standardError, Progress(archive.Path()) + Progress(missing, true) + Progress("/?", true) +
                                        Progress(image.Path()));
    // Each plug-in is freed again, and ConfigurationDlg is only looked up.
    EXPECT_EQ(image.Count("detach"), 1);
    EXPECT_EQ(image.Count("ConfigurationDlg"), 0);
    EXPECT_EQ(archive.Count("detach"), 1);
}

TEST(Spilist, InformationTextsBecomeRecordLines)
{
    struct Case {
        const char* name;
        const char* variant;
        std::string config;
        std::string version, pluginName;
        bool hasConfig;
        Filters filters;
    };
    const std::string header = "info.0=00IN\ninfo.1=Name\n";
    const Case cases[] = {
        {"blanks around separators vanish, one trailing ; is dropped", "all",
         header + "info.2= *.a ; *.b ;\ninfo.3=Ab\n", "00IN", "Name", true, {{"*.a;*.b", "Ab"}}},
        {"a blank inside a pattern is removed", "all", header + "info.2=*.j pg;\t*.png\ninfo.3=P\n", "00IN", "Name",
         true, {{"*.jpg;*.png", "P"}}},
        {"leading ; stays, doubled ; stay doubled", "all", header + "info.2=;*.a;;*.b;;\ninfo.3=S\n", "00IN", "Name",
         true, {{";*.a;;*.b;;", "S"}}},
        {"empty and all-blank pattern texts give empty lines", "all",
         header + "info.2=\ninfo.3=E\ninfo.4= \\t \ninfo.5=B\n", "00IN", "Name", true, {{"", "E"}, {"", "B"}}},
        {"line feeds become spaces, carriage returns stay", "all",
         "info.0=00IN\ninfo.1=two\\nlines\ninfo.2=*.a\\n*.b\ninfo.3=x\\r\\ny\n", "00IN", "two lines", true,
         {{"*.a*.b", "x\r y"}}},
        {"a description that answers 0 stays empty and ends the reading", "all",
         header + "info.2=*.a\ninfo.4=*.never\ninfo.5=Never\n", "00IN", "Name", true, {{"*.a", ""}}},
        {"a plug-in whose version answers 0", "all", "info.1=Never asked\n", "", "", true, {}},
        {"two filters, first with two patterns", "noconfig",
         header + "info.2=*.a;*.b\ninfo.3=First\ninfo.4=*.c\ninfo.5=Second\n", "00IN", "Name", false,
         {{"*.a;*.b", "First"}, {"*.c", "Second"}}},
        {"only GetPluginInfo exported", "info_only", header, "00IN", "Name", false, {}},
    };
    TempFolder folder;
    std::vector<FakePlugin> plugins;
    std::vector<std::string> paths;
    std::string expected;
    int index = 0;
    for (const Case& c : cases) {
        plugins.emplace_back(folder.Path(), "case" + std::to_string(index++) + ".spi", c.variant, c.config);
        paths.push_back(plugins.back().Path());
        expected += CatalogueRecord(plugins.back().Path(), c.version, c.pluginName, c.hasConfig, c.filters);
    }
    ProcessResult result = RunSpilist(paths);
    EXPECT_EQ(result.exitCode, 0);
    // Record by record, so a failure names its case.
    std::string output = result.standardOutput;
    std::size_t at = 0;
    index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string record = CatalogueRecord(paths[index], c.version, c.pluginName, c.hasConfig, c.filters);
        EXPECT_EQ(output.substr(at, record.size()), record);
        at += record.size();
        ++index;
    }
    EXPECT_EQ(output, expected);
}

TEST(Spilist, LibrariesWithoutGetPluginInfoAreReportedAndFreed)
{
    TempFolder folder;
    FakePlugin noInfo(folder.Path(), "noinfo.spi", "no_info", "info.0=00IN\n");
    std::string notALibrary = folder / "text.spi";
    WriteFileBytes(notALibrary, "this is no library\r\n");
    FakePlugin good(folder.Path(), "good.spi", "all", "info.0=00AM\ninfo.1=Good\n");

    ProcessResult result = RunSpilist({noInfo.Path(), notALibrary, good.Path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(good.Path(), "00AM", "Good", true, {}));
    EXPECT_EQ(result.standardError,
              Progress(noInfo.Path(), true) + Progress(notALibrary, true) + Progress(good.Path()));
    EXPECT_EQ(noInfo.Calls(), (std::vector<std::string>{"attach", "detach"}));
}

TEST(Spilist, InformationBufferGrowsWhenAnAnswerFillsIt)
{
    auto letters = [](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text.push_back(static_cast<char>('a' + i % 26));
        return text;
    };
    struct Case {
        const char* name;
        std::string config;
        std::string pluginName;
        std::vector<std::string> calls;  // GetPluginInfo calls, "number|buffer size"
    };
    const Case cases[] = {
        {"size - 2 characters fit", "info.1.fill=4094\n", letters(4094), {"0|4096", "1|4096", "2|4096"}},
        {"size - 1 characters are asked again with the doubled buffer", "info.1.fill=4095\n", letters(4095),
         {"0|4096", "1|4096", "1|8192", "2|8192"}},
        {"more than 32767 characters are cut at 32767; later numbers get 65536", "info.1.fill=40000\n",
         letters(32767), {"0|4096", "1|4096", "1|8192", "1|16384", "1|32768", "2|65536"}},
        {"an answer that writes nothing gives the pre-filled spaces", "info.1.silent=1\n", std::string(32767, ' '),
         {"0|4096", "1|4096", "1|8192", "1|16384", "1|32768", "2|65536"}},
        // Nothing past the buffer is read, even when the plug-in overwrote its last byte.
        {"an answer without terminating zero is taken up to the buffer's end", "info.1.unterminated=1\n",
         std::string(32768, 'u'), {"0|4096", "1|4096", "1|8192", "1|16384", "1|32768", "2|65536"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        FakePlugin plugin(folder.Path(), "big.spi", "info_only", "info.0=00IN\n" + c.config);
        ProcessResult result = RunSpilist({plugin.Path()});
        EXPECT_EQ(result.standardOutput, CatalogueRecord(plugin.Path(), "00IN", c.pluginName, false, {}));
        std::vector<std::string> calls;
        for (const std::string& line : plugin.Calls()) {
            if (line.compare(0, 14, "GetPluginInfo|") == 0)
                calls.push_back(line.substr(14));
        }
        EXPECT_EQ(calls, c.calls);
    }
}

TEST(Spilist, AnswersAfterACutAnswerAreStillRead)
{
    TempFolder folder;
    FakePlugin plugin(folder.Path(), "cut.spi", "all",
                      "info.0=00IN\ninfo.1.fill=70000\ninfo.2=*.a\ninfo.3.fill=40000\ninfo.4=*.b\ninfo.5=B\n");
    ProcessResult result = RunSpilist({plugin.Path()});
    std::string name, description;
    for (int i = 0; i < 32767; ++i)
        name.push_back(static_cast<char>('a' + i % 26));
    // With 65536 bytes the second long answer fits whole.
    for (int i = 0; i < 40000; ++i)
        description.push_back(static_cast<char>('a' + i % 26));
    EXPECT_EQ(result.standardOutput,
              CatalogueRecord(plugin.Path(), "00IN", name, true, {{"*.a", description}, {"*.b", "B"}}));
}

TEST(Spilist, PathsFromStandardInput)
{
    struct Case {
        const char* name;
        std::string input;  // "@a" and "@b" stand for the two plug-ins' paths
        std::string error;
        bool recordA, recordB;
    };
    const std::string longPath(1030, 'L');
    const Case cases[] = {
        {"empty input is one empty path", "", "\r\nerror in \r\n", false, false},
        {"a final line end adds an empty path", "@a\r\n@b\n", "@a\r\n@b\r\n\r\nerror in \r\n", true, true},
        {"no final line end", "@a\n@b", "@a\r\n@b\r\n", true, true},
        {"an empty line in the middle is a path", "@a\n\n@b", "@a\r\n\r\nerror in \r\n@b\r\n", true, true},
        {"a line longer than 1023 characters fails alone", longPath + "\n@b",
         longPath + "\r\nerror in " + longPath + "\r\n@b\r\n", false, true},
        {"Ctrl-Z ends the input", "@a\n\x1a@b\n", "@a\r\n\r\nerror in \r\n", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        FakePlugin a(folder.Path(), "a.spi", "all", "info.0=00IN\ninfo.1=A\n");
        FakePlugin b(folder.Path(), "b.spi", "noconfig", "info.0=00AM\ninfo.1=B\n");
        auto expand = [&](std::string text) {
            for (std::string::size_type at; (at = text.find('@')) != std::string::npos;)
                text.replace(at, 2, text[at + 1] == 'a' ? a.Path() : b.Path());
            return text;
        };
        ProcessResult result = RunSpilist({}, expand(c.input));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.standardError, expand(c.error));
        std::string expected = (c.recordA ? CatalogueRecord(a.Path(), "00IN", "A", true, {}) : "") +
                               (c.recordB ? CatalogueRecord(b.Path(), "00AM", "B", false, {}) : "");
        EXPECT_EQ(result.standardOutput, expected);
    }
}

TEST(Spilist, PluginThatClosesStandardOutputCannotSilenceTheCatalogue)
{
    TempFolder folder;
    FakePlugin closer(folder.Path(), "closer.spi", "all", "closeStdout=1\ninfo.0=00IN\ninfo.1=Closer\n");
    FakePlugin after(folder.Path(), "after.spi", "all", "closeStdout=1\ninfo.0=00AM\ninfo.1=After\n");
    ProcessResult result = RunSpilist({closer.Path(), after.Path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(closer.Path(), "00IN", "Closer", true, {}) +
                                         CatalogueRecord(after.Path(), "00AM", "After", true, {}));
}

TEST(Spilist, PluginThatNeverAnswersZeroIsStoppedAtTheLimit)
{
    TempFolder folder;
    FakePlugin endless(folder.Path(), "endless.spi", "info_only", "info.all=x\n");
    FakePlugin next(folder.Path(), "next.spi", "info_only", "info.0=00IN\n");
    ProcessResult result = RunSpilist({endless.Path(), next.Path()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(endless.Count("GetPluginInfo|"), 10000);
    EXPECT_EQ(endless.Count("GetPluginInfo|9999|"), 1);
    Filters filters(4999, {"x", "x"});
    EXPECT_EQ(result.standardOutput, CatalogueRecord(endless.Path(), "x", "x", false, filters) +
                                         CatalogueRecord(next.Path(), "00IN", "", false, {}));
    EXPECT_EQ(result.standardError,
              endless.Path() + "\r\ninformation numbers stopped at 10000 in " + endless.Path() + "\r\n" +
                  Progress(next.Path()));
}

// The plug-ins of the round-trip tests and the modules the registry must give back.
struct RoundTrip {
    TempFolder folder;
    FakePlugin image{folder.Path(), "image.spi", "image",
                     "info.0=00IN\ninfo.1= Image  plug-in \ninfo.2=*.a ; *.B\ninfo.3=A and B\ninfo.4=;*.c;;\n"
                     "info.5=C\\nfiles\n"};
    FakePlugin archive{folder.Path(), "archive.spi", "noconfig", "info.0=00AM\ninfo.1=Archive\ninfo.2=*.z\ninfo.3=Zs\n"};
    std::string catalogue = RunSpilist({image.Path(), archive.Path()}).standardOutput;
};

TEST(Spilist, CatalogueReadsBackAsTheSameModules)
{
    RoundTrip trip;
    std::istringstream input(trip.catalogue);
    std::list<PluginModule> modules = ReadCatalogue(input);
    ASSERT_EQ(modules.size(), 2u);
    const PluginModule& image = modules.front();
    EXPECT_EQ(std::string(image.path), trip.image.Path());
    EXPECT_EQ(image.version, "00IN");
    EXPECT_EQ(image.name, " Image  plug-in ");
    EXPECT_TRUE(image.hasConfig);
    ASSERT_EQ(image.filters.size(), 2u);
    EXPECT_EQ(image.filters[0].patterns, (PatternList{"*.a", "*.B"}));
    EXPECT_EQ(image.filters[0].description, "A and B");
    EXPECT_EQ(image.filters[1].patterns, (PatternList{";*.c", ";"}));
    EXPECT_EQ(image.filters[1].description, "C files");
    const PluginModule& archive = modules.back();
    EXPECT_EQ(std::string(archive.path), trip.archive.Path());
    EXPECT_EQ(archive.version, "00AM");
    EXPECT_EQ(archive.name, "Archive");
    EXPECT_FALSE(archive.hasConfig);
    ASSERT_EQ(archive.filters.size(), 1u);
    EXPECT_EQ(archive.filters[0].patterns, (PatternList{"*.z"}));
    EXPECT_EQ(archive.filters[0].description, "Zs");
}

TEST(Spilist, RegistryLibraryReadsTheCatalogue)
{
    RoundTrip trip;
    std::string lib = trip.folder / "lib\\";
    CreateDirectoryA(lib.c_str(), nullptr);
    CopyFixture(BRISK_REGISTRY_LIBRARY, lib + BRISK_REGISTRY_LIBRARY);
    CopyFixture("catalogue_probe.exe", lib + "catalogue_probe.exe");
    WriteFileBytes(lib + BRISK_DEFAULT_CATALOGUE, trip.catalogue);
    ProcessResult result = RunProcess(Quoted(lib + "catalogue_probe.exe"));
    EXPECT_EQ(result.standardOutput, trip.image.Path() + "|00IN| Image  plug-in |true|*.a;*.B=A and B|;*.c;;=C files\n" +
                                         trip.archive.Path() + "|00AM|Archive|false|*.z=Zs\nsame\n");
}


// A plug-in of the other width (a .sph for spilist, a .spi for spilist64) is read
// through the bridge's helper: the same record and progress lines as one of this
// width, and it is freed again.
TEST(Spilist, PluginsOfTheOtherWidthGiveTheSameRecordsThroughTheHelper)
{
    if (!CanRunTheBridgeHelper())
        GTEST_SKIP() << "this machine runs no " BRISK_BRIDGED_WIDTH " programs: the bridge cannot be tested here";
    TempFolder folder;
    const std::string config = "info.0=00IN\ninfo.1=Narrow\ninfo.2=*.n\ninfo.3=Ns\n";
    FakePlugin narrow(folder.Path(), "narrow.spi", "all", config);
    ASSERT_TRUE(CopyFileA((WineFolder(BRISK_OTHER_SET_BIN) + "fake_all.spi").c_str(), narrow.Path().c_str(), FALSE));
    FakePlugin native(folder.Path(), "native.spi", "all", config);
    ProcessResult result = RunSpilist({narrow.Path(), native.Path()});

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, CatalogueRecord(narrow.Path(), "00IN", "Narrow", true, {{"*.n", "Ns"}}) +
                                         CatalogueRecord(native.Path(), "00IN", "Narrow", true, {{"*.n", "Ns"}}));
    EXPECT_EQ(result.standardError, Progress(narrow.Path()) + Progress(native.Path()));
    EXPECT_EQ(narrow.Count("detach"), 1);
}

}  // namespace
