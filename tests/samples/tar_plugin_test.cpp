#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "sample_plugins.h"
#include "tar_writer.h"
#include "test_files.h"
#include "set_names.h"

namespace {

struct Listed {
    std::string name;  // path + file name as the table has them
    std::string method;
    ULONG_PTR position;
    ULONG_PTR size;
    LONG timestamp;
};

class TarPlugin : public ::testing::Test {
protected:
    PluginEntryPoints plugin = LoadSample(BRISK_SAMPLE_TAR);
    TempFolder folder;

    static std::vector<TarMember> Members()
    {
        return {
            {"hello.txt", "Hello, tar.\n"},
            {"docs/", "", '5'},
            {"docs/readme.md", std::string(600, 'r') + "end"},
            {"empty.txt", ""},
            {"exact.bin", std::string(512, '\x7f')},
            {"link", "", '2'},
            {"./dot/lead.txt", "leading dot", '0', 86400},
            {std::string(60, 'p') + "/" + std::string(50, 'q') + "/long.txt", "long name"},
        };
    }

    // What the listed entries hold, in order, for the members above.
    static std::vector<std::pair<std::string, std::string>> Expected()
    {
        return {
            {"hello.txt", "Hello, tar.\n"},
            {"docs\\readme.md", std::string(600, 'r') + "end"},
            {"empty.txt", ""},
            {"exact.bin", std::string(512, '\x7f')},
            {"dot\\lead.txt", "leading dot"},
            {std::string(60, 'p') + "\\" + std::string(50, 'q') + "\\long.txt", "long name"},
        };
    }

    int List(LPCSTR buf, LONG_PTR len, unsigned int flag, std::vector<Listed>& listed)
    {
        HLOCAL table = nullptr;
        int result = plugin.GetArchiveInfo(buf, len, flag, &table);
        if (result != 0)
            return result;
        std::string bytes = TakeBlock(table);
        const auto* records = reinterpret_cast<const SpiFileInfo*>(bytes.data());
        std::size_t count = bytes.size() / sizeof(SpiFileInfo);
        std::size_t i = 0;
        for (; i < count && records[i].method[0] != 0; ++i) {
            const SpiFileInfo& r = records[i];
            listed.push_back({std::string(r.path) + r.fileName, reinterpret_cast<const char*>(r.method), r.position,
                              r.fileSize, r.timestamp});
            EXPECT_EQ(r.compressedSize, r.fileSize);
        }
        EXPECT_LT(i, count) << "the table has no closing entry";
        return result;
    }

    std::string ExtractToMemory(LPCSTR buf, LONG_PTR len, unsigned int inputFlag, int& result)
    {
        HLOCAL block = nullptr;
        result = plugin.GetFile(buf, len, reinterpret_cast<LPSTR>(&block), inputFlag | kSpiOutputMemory, nullptr, 0);
        return TakeBlock(block);
    }
};

TEST_F(TarPlugin, ListsRegularFilesWithNamesSizesAndPositions)
{
    std::string archive = WriteTar(Members());
    std::string path = folder / "a.tar";
    WriteFileBytes(path, archive);
    std::vector<Listed> listed;
    ASSERT_EQ(List(path.c_str(), 0, kSpiInputFile, listed), 0);
    auto expected = Expected();
    ASSERT_EQ(listed.size(), expected.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].name, expected[i].first);
        EXPECT_EQ(listed[i].method, "ustar");
        EXPECT_EQ(listed[i].size, expected[i].second.size()) << listed[i].name;
        // The position is the entry's header: its data follows it.
        EXPECT_EQ(archive.substr(listed[i].position + 512, expected[i].second.size()), expected[i].second)
            << listed[i].name;
    }
    EXPECT_EQ(listed[0].timestamp, 1700000000);
    EXPECT_EQ(listed[4].timestamp, 86400);
}

TEST_F(TarPlugin, GnuSignatureIsReadToo)
{
    std::string archive = WriteTar({{"a.txt", "A"}, {"b.txt", "BB"}}, true);
    std::vector<Listed> listed;
    ASSERT_EQ(List(archive.data(), static_cast<LONG_PTR>(archive.size()), kSpiInputMemory, listed), 0);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].name, "b.txt");
    EXPECT_EQ(listed[1].size, 2u);
}

TEST_F(TarPlugin, ExtractsEveryEntryToAFolderAndToMemory)
{
    std::string path = folder / "a.tar";
    WriteFileBytes(path, WriteTar(Members()));
    std::vector<Listed> listed;
    ASSERT_EQ(List(path.c_str(), 0, kSpiInputFile, listed), 0);
    auto expected = Expected();
    ASSERT_EQ(listed.size(), expected.size());
    std::string output = folder / "out";
    CreateDirectoryA(output.c_str(), nullptr);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        LONG_PTR position = static_cast<LONG_PTR>(listed[i].position);
        std::string destination = output;
        EXPECT_EQ(plugin.GetFile(path.c_str(), position, &destination[0], kSpiInputFile | kSpiOutputFile, nullptr, 0), 0)
            << listed[i].name;
        // Only the file name is used below the folder.
        std::string fileName = listed[i].name.substr(listed[i].name.find_last_of('\\') + 1);
        EXPECT_TRUE(FileExists(output + "\\" + fileName)) << fileName;
        EXPECT_EQ(ReadFileBytes(output + "\\" + fileName), expected[i].second) << fileName;

        int result = -99;
        EXPECT_EQ(ExtractToMemory(path.c_str(), position, kSpiInputFile, result).substr(0, expected[i].second.size()),
                  expected[i].second);
        EXPECT_EQ(result, 0) << listed[i].name;
    }
}

// Read at an offset in a file, the positions count from the file's start.
TEST_F(TarPlugin, ArchiveAtAnOffsetReportsFilePositions)
{
    std::string junk(1000, 'j');
    std::string path = folder / "embedded.bin";
    WriteFileBytes(path, junk + WriteTar({{"x.txt", "inside"}, {"y.txt", "second"}}));
    std::vector<Listed> listed;
    ASSERT_EQ(List(path.c_str(), static_cast<LONG_PTR>(junk.size()), kSpiInputFile, listed), 0);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].position, junk.size());
    EXPECT_EQ(listed[1].position, junk.size() + 1024);
    int result = -99;
    EXPECT_EQ(ExtractToMemory(path.c_str(), static_cast<LONG_PTR>(listed[1].position), kSpiInputFile, result),
              "second");
    EXPECT_EQ(result, 0);
}

// From memory, GetFile is given the entry's header and the bytes that follow.
TEST_F(TarPlugin, MemoryImageInAndOut)
{
    std::string archive = WriteTar({{"x.txt", "inside"}, {"y.txt", "second"}});
    std::vector<Listed> listed;
    ASSERT_EQ(List(archive.data(), static_cast<LONG_PTR>(archive.size()), kSpiInputMemory, listed), 0);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[1].position, 1024u);
    int result = -99;
    std::size_t at = listed[1].position;
    EXPECT_EQ(ExtractToMemory(archive.data() + at, static_cast<LONG_PTR>(archive.size() - at), kSpiInputMemory, result),
              "second");
    EXPECT_EQ(result, 0);
}

TEST_F(TarPlugin, FileInfoFindsEntriesByName)
{
    std::string archive = WriteTar(Members());
    struct Case {
        const char* name;
        unsigned int flag;
        int result;
        std::size_t size;
    };
    const Case cases[] = {
        {"docs\\readme.md", 0, 0, 603},
        {"docs/readme.md", 0, 0, 603},
        {"DOCS\\README.MD", 0, 2, 0},
        {"DOCS\\README.MD", 0x80, 0, 603},
        {"readme.md", 0, 2, 0},
        {"docs", 0, 2, 0},
        {"link", 0, 2, 0},
    };
    for (const Case& test : cases) {
        SpiFileInfo info = {};
        EXPECT_EQ(plugin.GetFileInfo(archive.data(), static_cast<LONG_PTR>(archive.size()), test.name,
                                     kSpiInputMemory | test.flag, &info),
                  test.result)
            << test.name;
        if (test.result == 0) {
            EXPECT_EQ(info.fileSize, test.size) << test.name;
            EXPECT_STREQ(info.path, "docs\\");
            EXPECT_STREQ(info.fileName, "readme.md");
        }
    }
}

// Stored names never lead out of the folder, nor to a device.
TEST_F(TarPlugin, HostileNamesStayInsideTheFolder)
{
    std::string path = folder / "evil.tar";
    WriteFileBytes(path, WriteTar({{"../../escape.txt", "one"}, {"/abs/rooted.txt", "two"}, {"CON", "three"}}));
    std::vector<Listed> listed;
    ASSERT_EQ(List(path.c_str(), 0, kSpiInputFile, listed), 0);
    ASSERT_EQ(listed.size(), 3u);
    std::string output = folder / "out";
    CreateDirectoryA(output.c_str(), nullptr);
    for (const Listed& entry : listed) {
        std::string destination = output;
        EXPECT_EQ(plugin.GetFile(path.c_str(), static_cast<LONG_PTR>(entry.position), &destination[0], 0, nullptr, 0),
                  0)
            << entry.name;
    }
    EXPECT_EQ(ReadFileBytes(output + "\\escape.txt"), "one");
    EXPECT_EQ(ReadFileBytes(output + "\\rooted.txt"), "two");
    EXPECT_EQ(ReadFileBytes(output + "\\_CON"), "three");
    EXPECT_FALSE(FileExists(folder / "escape.txt"));
}

int WINAPI CancelAfterFirst(int, int, LONG_PTR calls)
{
    return ++*reinterpret_cast<int*>(calls) > 1;
}

TEST_F(TarPlugin, CancelledExtractionLeavesNoFile)
{
    std::string path = folder / "big.tar";
    WriteFileBytes(path, WriteTar({{"big.bin", std::string(300000, 'b')}}));
    std::string output = folder / "out";
    CreateDirectoryA(output.c_str(), nullptr);
    int calls = 0;
    EXPECT_EQ(plugin.GetFile(path.c_str(), 0, &output[0], 0, CancelAfterFirst, reinterpret_cast<LONG_PTR>(&calls)), 1);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(FileExists(output + "\\big.bin"));
}

TEST_F(TarPlugin, IsSupportedChecksTheHeader)
{
    std::string archive = WriteTar({{"a.txt", "A"}});
    std::string spoiled = archive;
    spoiled[0] = 'b';  // the checksum no longer matches
    const std::pair<std::string, int> cases[] = {{archive, 1}, {spoiled, 0}, {std::string(2048, '\0'), 0}};
    for (const auto& [bytes, expected] : cases) {
        std::string head = bytes.substr(0, 2048);
        head.resize(2048, '\0');
        EXPECT_EQ(plugin.IsSupported("x.tar", reinterpret_cast<ULONG_PTR>(head.data())), expected);
        std::string path = folder / "probe.tar";
        WriteFileBytes(path, bytes);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(plugin.IsSupported("x.tar", reinterpret_cast<ULONG_PTR>(file)), expected);
        CloseHandle(file);
    }
}

TEST_F(TarPlugin, GetFileAtAPositionThatIsNoHeader)
{
    std::string path = folder / "a.tar";
    WriteFileBytes(path, WriteTar({{"a.txt", std::string(700, 'a')}}));
    int result = -99;
    for (LONG_PTR position : {LONG_PTR(1), LONG_PTR(512), LONG_PTR(1024 * 1024)}) {
        ExtractToMemory(path.c_str(), position, kSpiInputFile, result);
        EXPECT_EQ(result, 3) << position;
    }
    ExtractToMemory(path.c_str(), -1, kSpiInputFile, result);
    EXPECT_EQ(result, 6);
}

TEST_F(TarPlugin, InformationAndAboutBox)
{
    const char* expected[] = {"00AM", "BriskSPI sample tar extractor 1.0", "*.tar", "tar archive (uncompressed)"};
    char text[64];
    for (int number = 0; number < 4; ++number) {
        EXPECT_EQ(plugin.GetPluginInfo(number, text, sizeof text), static_cast<int>(std::strlen(expected[number])));
        EXPECT_STREQ(text, expected[number]);
    }
    EXPECT_EQ(plugin.GetPluginInfo(4, text, sizeof text), 0);
    int result = -99;
    EXPECT_NE(ShowAndCloseAbout(plugin.ConfigurationDlg, result).find("uncompressed tar archives"), std::string::npos);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(plugin.ConfigurationDlg(nullptr, 1), -1);
}

}  // namespace
