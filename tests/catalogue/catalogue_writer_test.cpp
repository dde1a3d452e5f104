#include <gtest/gtest.h>

#include <sstream>

#include "catalogue_values.h"
#include "catalogue_reader.h"
#include "catalogue_writer.h"

namespace {

PluginModule Module(const std::string& path)
{
    PluginModule module;
    module.path = path;
    module.version = "00IN";
    module.name = "Reader of\nthings";
    module.hasConfig = true;
    module.filters.push_back(MakeFilter({"*.a", ";*.b"}, "A and B"));
    module.filters.push_back(MakeFilter({"*.c"}, "C"));
    return module;
}

TEST(CatalogueWriter, WritesTheRecordWithCrLf)
{
    std::string out;
    WriteRecord(out, Module("C:\\x.spi"));
    EXPECT_EQ(out, "C:\\x.spi\r\n00IN\r\nReader of things\r\ntrue\r\n*.a;;*.b\r\nA and B\r\n*.c\r\nC\r\n-----\r\n");
}

TEST(CatalogueWriter, ReaderGivesBackWhatTheWriterWrote)
{
    std::string out;
    WriteRecord(out, Module("one"));
    WriteRecord(out, Module("two"));
    std::istringstream input(out);
    auto modules = ReadCatalogue(input);
    ASSERT_EQ(modules.size(), 2u);
    for (const PluginModule& module : modules) {
        PluginModule expected = Module(std::string(module.path));
        EXPECT_EQ(module.version, expected.version);
        EXPECT_EQ(module.name, "Reader of things");
        EXPECT_EQ(module.hasConfig, expected.hasConfig);
        ASSERT_EQ(module.filters.size(), 2u);
        EXPECT_EQ(module.filters[0].patterns, expected.filters[0].patterns);
        EXPECT_EQ(module.filters[1].description, "C");
    }
}

TEST(CatalogueWriter, LonePatternThatLooksLikeTheTerminatorReadsBack)
{
    PluginModule module = Module("dash");
    module.filters = {MakeFilter({"-----"}, "Dashes"), MakeFilter({"-----", "*.a"}, "More")};
    std::string out;
    WriteRecord(out, module);
    WriteRecord(out, Module("after"));
    EXPECT_NE(out.find("\r\n-----;\r\nDashes\r\n-----;*.a\r\n"), std::string::npos) << out;
    std::istringstream input(out);
    auto modules = ReadCatalogue(input);
    ASSERT_EQ(modules.size(), 2u);
    ASSERT_EQ(modules.front().filters.size(), 2u);
    EXPECT_EQ(modules.front().filters[0].patterns, (PatternList{"-----"}));
    EXPECT_EQ(modules.front().filters[0].description, "Dashes");
    EXPECT_EQ(modules.front().filters[1].patterns, (PatternList{"-----", "*.a"}));
    EXPECT_EQ(modules.back().path, "after");
}

}  // namespace
