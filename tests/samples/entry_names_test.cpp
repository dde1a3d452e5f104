#include <gtest/gtest.h>

#include "entry_names.h"

namespace {

TEST(TarEntryNames, HostNamesAndTheirParts)
{
    struct Case {
        const char* stored;
        const char* host;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {"a.txt", "a.txt", "", "a.txt"},
        {"docs/a.txt", "docs\\a.txt", "docs\\", "a.txt"},
        {"./docs/a.txt", "docs\\a.txt", "docs\\", "a.txt"},
        {"/abs/a.txt", "abs\\a.txt", "abs\\", "a.txt"},
        {"././/x", "x", "", "x"},
        {"dir/", "dir\\", "dir\\", ""},
    };
    for (const Case& test : cases) {
        std::string host = HostEntryName(test.stored);
        EXPECT_EQ(host, test.host) << test.stored;
        EXPECT_EQ(EntryFolder(host), test.folder) << test.stored;
        EXPECT_EQ(EntryFileName(host), test.file) << test.stored;
    }
}

TEST(TarEntryNames, SafeOutputNames)
{
    const std::pair<const char*, const char*> cases[] = {
        {"a.txt", "a.txt"},          {"../../etc/passwd", "passwd"}, {"..", ""},
        {"dir/..", ""},              {"dir/.", ""},                  {"dir/", ""},
        {"c:evil.txt", "c_evil.txt"}, {"a?b*c|d", "a_b_c_d"},        {"tab\there", "tab_here"},
        {"CON", "_CON"},             {"nul.txt", "_nul.txt"},        {"com1", "_com1"},
        {"LPT9.log", "_LPT9.log"},   {"console", "console"},         {"com10", "com10"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(SafeOutputName(name), expected) << name;
}

TEST(TarEntryNames, SameNameTreatsSeparatorsAlike)
{
    EXPECT_TRUE(SameEntryName("a/b.txt", "a\\b.txt", false));
    EXPECT_FALSE(SameEntryName("A\\B.txt", "a\\b.txt", false));
    EXPECT_TRUE(SameEntryName("A\\B.txt", "a\\b.TXT", true));
    EXPECT_FALSE(SameEntryName("a\\b.txt", "a\\b.tx", true));
}

}  // namespace
