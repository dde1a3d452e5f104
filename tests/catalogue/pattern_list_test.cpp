#include <gtest/gtest.h>

#include "file_filter.h"

namespace {

struct PatternCase {
    const char* name;
    std::string text;
    PatternList patterns;
};

TEST(PatternList, FollowsTheSeparatorAndWhitespaceRules)
{
    const PatternCase cases[] = {
        {"two patterns", "*.bmp;*.dib", {"*.bmp", "*.dib"}},
        {"blanks around separators vanish", " *.bmp ;  *.dib ", {"*.bmp", "*.dib"}},
        {"blank inside a pattern vanishes", "*.b mp", {"*.bmp"}},
        {"all whitespace bytes vanish", "\t*.a\n;\v*.b\f;\r*.c", {"*.a", "*.b", "*.c"}},
        {"one trailing separator dropped", "*.a;", {"*.a"}},
        {"leading separator stays", ";*.a", {";*.a"}},
        {"double separator starts the next pattern", "*.a;;*.b", {"*.a", ";*.b"}},
        {"two separators at the end", "*.a;;", {"*.a", ";"}},
        {"whitespace only gives nothing", " \t ", {}},
        {"empty gives nothing", "", {}},
        {"separators only", ";;;", {";", ";"}},
        {"two separators only", ";;", {";"}},
        {"three separators at the end", "*.a;;;", {"*.a", ";"}},
        {"duplicates stay", "*.a;*.a", {"*.a", "*.a"}},
        {"high bytes are not whitespace", "\xa0*.a\x85", {"\xa0*.a\x85"}},
        {"NUL byte is pattern text", std::string("*.a\0b", 5), {CatalogueText("*.a\0b", 5)}},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(ParsePatternList(c.text), c.patterns) << c.name;
}

TEST(PatternList, AppendingAddsToTheListBehindItsPatterns)
{
    PatternList patterns{"*.a"};
    AppendPatternList("*.b;;", patterns);
    AppendPatternList(" *.c ", patterns);
    AppendPatternList("", patterns);
    EXPECT_EQ(patterns, (PatternList{"*.a", "*.b", ";", "*.c"}));
}

TEST(PatternList, JoinedListReadsBackTheSame)
{
    const std::vector<PatternList> lists = {
        {}, {"*.a"}, {"*.a", "*.b"}, {";*.a", "*.b"}, {"*.a", ";"}, {"*.a", ";", "*.b"},
    };
    for (const auto& list : lists)
        EXPECT_EQ(ParsePatternList(JoinPatternList(list)), list) << JoinPatternList(list);
    EXPECT_EQ(JoinPatternList({"*.a", "*.b"}), "*.a;*.b");
    EXPECT_EQ(JoinPatternList({}), "");
}

}  // namespace
