#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "catalogue_reader.h"
#include "stream_input.h"

namespace {

std::vector<PluginModule> Read(const std::string& text)
{
    std::istringstream input(text);
    std::list<PluginModule> modules = ReadCatalogue(input);
    return {modules.begin(), modules.end()};
}

std::string Record(const std::string& path, const std::string& version = "00IN")
{
    return path + "\n" + version + "\nName of " + path + "\ntrue\n*.a;*.b\nA files\n-----\n";
}

TEST(CatalogueReader, ReadsRecordsWithAllTheirFields)
{
    auto modules = Read("C:\\p\\one.spi\n00IN\nOne plug-in\ntrue\n*.a;*.b\nA files\n*.c\nC files\n-----\n"
                        "two.spi\n00AM\nTwo\nfalse\n-----\n");
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0].path, "C:\\p\\one.spi");
    EXPECT_EQ(modules[0].version, "00IN");
    EXPECT_EQ(modules[0].name, "One plug-in");
    EXPECT_TRUE(modules[0].hasConfig);
    ASSERT_EQ(modules[0].filters.size(), 2u);
    EXPECT_EQ(modules[0].filters[0].patterns, (PatternList{"*.a", "*.b"}));
    EXPECT_EQ(modules[0].filters[0].description, "A files");
    EXPECT_EQ(modules[0].filters[1].patterns, (PatternList{"*.c"}));
    EXPECT_EQ(modules[0].filters[1].description, "C files");
    EXPECT_EQ(modules[1].version, "00AM");
    EXPECT_FALSE(modules[1].hasConfig);
    EXPECT_TRUE(modules[1].filters.empty());
    EXPECT_TRUE(modules[0].binding.Empty());
}

TEST(CatalogueReader, EmptyAndBlankInputsGiveNoRecord)
{
    EXPECT_TRUE(Read("").empty());
    EXPECT_TRUE(Read("\n\n\r\n").empty());
    EXPECT_TRUE(Read("-----\n-----\n-----").empty());
    EXPECT_EQ(Read(Record("a") + "\n\n").size(), 1u);
    EXPECT_EQ(Read(Record("a") + "-----\n" + Record("b")).size(), 2u);
}

TEST(CatalogueReader, BlankLinesAreSkippedAnywhere)
{
    auto modules = Read("\n\na\n\n00IN\n\nName\n\ntrue\n\n*.a\n\nA\n\n-----\n\nb\n00AM\nB\nfalse\n-----\n");
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0].name, "Name");
    ASSERT_EQ(modules[0].filters.size(), 1u);
    EXPECT_EQ(modules[0].filters[0].description, "A");
    EXPECT_EQ(modules[1].path, "b");
}

TEST(CatalogueReader, EmptyValueShiftsTheRestOfTheRecord)
{
    // An empty name: the flag line becomes the name and the lines after pair up shifted.
    auto modules = Read("a.spi\n00IN\n\ntrue\n*.a\nA files\n-----\n");
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_EQ(modules[0].name, "true");
    EXPECT_FALSE(modules[0].hasConfig);  // "*.a" was read as the flag
    ASSERT_EQ(modules[0].filters.size(), 0u);  // "A files" has no description after it
}

TEST(CatalogueReader, OnlyExactTrueSetsTheFlag)
{
    const char* flags[] = {"TRUE", "True", "true ", " true", "false", "yes", "1"};
    for (const char* flag : flags) {
        auto modules = Read(std::string("a\n00IN\nN\n") + flag + "\n-----\n");
        ASSERT_EQ(modules.size(), 1u) << flag;
        EXPECT_FALSE(modules[0].hasConfig) << flag;
    }
}

TEST(CatalogueReader, TerminatorIsOnlyTheWholeLine)
{
    auto modules = Read("a\n00IN\nN\nfalse\n------\n-----x\n -----\n-----\n");
    ASSERT_EQ(modules.size(), 1u);
    ASSERT_EQ(modules[0].filters.size(), 1u);
    EXPECT_EQ(modules[0].filters[0].patterns, (PatternList{"------"}));
    EXPECT_EQ(modules[0].filters[0].description, "-----x");
}

TEST(CatalogueReader, TerminatorBeforeTheFlagKeepsWhatWasRead)
{
    auto modules = Read("a\n00IN\n-----\nb\n00AM\nB\ntrue\n-----\n");
    ASSERT_EQ(modules.size(), 2u);
    EXPECT_EQ(modules[0].version, "00IN");
    EXPECT_EQ(modules[0].name, "");
    EXPECT_FALSE(modules[0].hasConfig);
    EXPECT_TRUE(modules[0].filters.empty());
    EXPECT_EQ(modules[1].path, "b");
}

TEST(CatalogueReader, EndOfInputRules)
{
    // No terminator, last line ends with a line break: the record is complete.
    auto complete = Read("a\n00IN\nN\ntrue\n*.a\nA\n");
    ASSERT_EQ(complete.size(), 1u);
    ASSERT_EQ(complete[0].filters.size(), 1u);

    // A last line without a line break is not used: here it loses its filter.
    auto lost = Read("a\n00IN\nN\ntrue\n*.a\nA");
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_TRUE(lost[0].filters.empty());

    // A filter cut after its pattern line is not added.
    auto cut = Read("a\n00IN\nN\ntrue\n*.a\n");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_TRUE(cut[0].filters.empty());

    // A final terminator without a line break ends its record like any terminator.
    auto final = Read("a\n00IN\nN\ntrue\n*.a\nA\n-----");
    ASSERT_EQ(final.size(), 1u);
    EXPECT_EQ(final[0].filters.size(), 1u);

    // A path line alone without a line break is not read: no record.
    EXPECT_TRUE(Read("a").empty());
}

TEST(CatalogueReader, TextModeLineEnds)
{
    std::string lf = "a\n00IN\nN\ntrue\n*.a\nA\n-----\n";
    std::string crlf = "a\r\n00IN\r\nN\r\ntrue\r\n*.a\r\nA\r\n-----\r\n";
    auto fromLf = Read(lf);
    auto fromCrlf = Read(crlf);
    ASSERT_EQ(fromLf.size(), 1u);
    ASSERT_EQ(fromCrlf.size(), 1u);
    EXPECT_EQ(fromCrlf[0].name, fromLf[0].name);
    EXPECT_TRUE(fromCrlf[0].hasConfig);
    EXPECT_EQ(fromCrlf[0].filters[0].description, "A");

    // A lone CR is part of the line.
    auto loneCr = Read("a\rb\n00IN\nN\nfalse\n-----\n");
    ASSERT_EQ(loneCr.size(), 1u);
    EXPECT_EQ(loneCr[0].path, "a\rb");
}

TEST(CatalogueReader, CtrlZEndsTheInput)
{
    auto modules = Read("a\n00IN\nN\ntrue\n*.a\nA\n-----\n\x1a" "b\n00IN\nB\nfalse\n-----\n");
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_EQ(modules[0].path, "a");

    // Ctrl-Z inside a line: the text before it is a last line without a line break.
    auto inside = Read("a\n00IN\nN\ntrue\n*.a\nA\x1a\n-----\n");
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_TRUE(inside[0].filters.empty());
}

TEST(CatalogueReader, ZeroBytesEndAValue)
{
    std::string text = std::string("a\n00IN\nNa\0me\ntrue\n", 18) + std::string("\0skipped\n", 9) + "*.a\nA\n-----\n";
    auto modules = Read(text);
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_EQ(modules[0].name, "Na");
    ASSERT_EQ(modules[0].filters.size(), 1u);
    EXPECT_EQ(modules[0].filters[0].patterns, (PatternList{"*.a"}));
}

// Hands the text out a few bytes at a time, so lines run over the ends of the reads.
class SmallReads : public ByteInput {
public:
    SmallReads(const std::string& text, std::size_t step) : text_(text), step_(step) {}
    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::size_t count = std::min({size, step_, text_.size() - at_});
        text_.copy(buffer, count, at_);
        at_ += count;
        return count;
    }

private:
    const std::string& text_;
    std::size_t step_;
    std::size_t at_ = 0;
};

TEST(CatalogueReader, ZeroBytesEndAValueWhereverTheReadsEnd)
{
    // Zeros at the start, middle and end of scanned words, before a CR, and in lines
    // longer than a word.
    const char bytes[] = "C:\\plug\0ins\\a.spi\r\n"
                         "00IN\0\r\n"
                         "A long name\0\0 behind\r\n"
                         "true\n"
                         "*.abcdef;*.g\0*.h\r\n"
                         "\0\r\n"
                         "Pictures of 1234\0\n"
                         "-----\r\n";
    const std::string text(bytes, sizeof bytes - 1);
    for (std::size_t step : {std::size_t(1), std::size_t(3), std::size_t(7), std::size_t(8), std::size_t(9),
                             std::size_t(13), text.size()}) {
        SmallReads input(text, step);
        std::list<PluginModule> modules = ReadCatalogue(input);
        ASSERT_EQ(modules.size(), 1u) << step;
        const PluginModule& module = modules.front();
        EXPECT_EQ(module.path, "C:\\plug") << step;
        EXPECT_EQ(module.version, "00IN") << step;
        EXPECT_EQ(module.name, "A long name") << step;
        EXPECT_TRUE(module.hasConfig) << step;
        ASSERT_EQ(module.filters.size(), 1u) << step;
        EXPECT_EQ(module.filters[0].patterns, (PatternList{"*.abcdef", "*.g"})) << step;
        EXPECT_EQ(module.filters[0].description, "Pictures of 1234") << step;
    }
}

TEST(CatalogueReader, ValuesAreNotTrimmed)
{
    auto modules = Read(" a \n00IN\n\tName \ntrue\n   \n desc \n-----\n");
    ASSERT_EQ(modules.size(), 1u);
    EXPECT_EQ(modules[0].path, " a ");
    EXPECT_EQ(modules[0].name, "\tName ");
    ASSERT_EQ(modules[0].filters.size(), 1u);
    EXPECT_TRUE(modules[0].filters[0].patterns.empty());  // spaces only: no pattern, filter kept
    EXPECT_EQ(modules[0].filters[0].description, " desc ");
}

TEST(CatalogueReader, LongLinesDoNotEndTheReading)
{
    std::string line1023(1023, 'p');
    std::string line5000(5000, 'q');
    auto modules = Read("a\n00IN\n" + line1023 + "\ntrue\n*.a;" + line5000 + "\nA\n-----\n" + Record("b") +
                        "c\n00AM\n" + line5000 + "\nfalse\n-----\n");
    ASSERT_EQ(modules.size(), 3u);
    EXPECT_EQ(std::string(modules[0].name), line1023);
    ASSERT_EQ(modules[0].filters.size(), 1u);
    EXPECT_EQ(std::string(modules[0].filters[0].patterns.back()), line5000);
    EXPECT_EQ(modules[1].path, "b");
    EXPECT_EQ(std::string(modules[2].name), line5000);
}

TEST(CatalogueReader, KeepsEveryVersionInFileOrder)
{
    auto modules = Read(Record("1", "00IN") + Record("2", "00AM") + Record("3", "00IN ") + Record("4", "zzzz"));
    ASSERT_EQ(modules.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::string(modules[i].path), std::to_string(i + 1));
    EXPECT_EQ(modules[2].version, "00IN ");
}

TEST(CatalogueReader, RecordReaderResetsTheEntry)
{
    std::istringstream input("a\n00IN\nN\ntrue\n*.a\nA\n-----\nb\n00AM\n-----\n");
    StreamInput bytes(input);
    TextLines lines(bytes);
    PluginModule module;
    ReadRecord(lines, module);
    EXPECT_EQ(module.path, "a");
    ReadRecord(lines, module);
    EXPECT_EQ(module.path, "b");
    EXPECT_EQ(module.name, "");
    EXPECT_FALSE(module.hasConfig);
    EXPECT_TRUE(module.filters.empty());
}

}  // namespace
