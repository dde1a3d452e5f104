// Malformed and oversized catalogues read by the catalogue reader itself. Platform-free:
// also built natively under the sanitizers.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "catalogue_reader.h"
#include "catalogue_writer.h"
#include "hostile_catalogues.h"

namespace {

class HostileCatalogueRead : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileCatalogueRead, GivesTheExpectedRecordsAndKeepsTheRules)
{
    HostileCatalogue catalogue = GetParam().make();
    std::istringstream input(catalogue.bytes);
    auto started = std::chrono::steady_clock::now();
    std::list<PluginModule> modules = ReadCatalogue(input);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // Linear reading: even the largest case (10 MB) is far below this on any machine.
    EXPECT_LT(seconds, 20.0);

    std::vector<std::string> described;
    for (const PluginModule& module : modules) {
        EXPECT_EQ(BrokenRule(module), "") << Describe(module);
        described.push_back(Describe(module));
    }
    if (catalogue.checkRecords) {
        ASSERT_EQ(described.size(), catalogue.records.size());
        for (std::size_t i = 0; i < described.size(); ++i) {
            ASSERT_EQ(described[i], catalogue.records[i]) << "record " << i;
        }
    }
}

// Whatever a hostile file gave, writing those records and reading them back changes
// nothing, as long as the writer can represent them (no empty header value).
TEST_P(HostileCatalogueRead, RecordsReadSurviveWritingAndReadingAgain)
{
    HostileCatalogue catalogue = GetParam().make();
    std::istringstream input(catalogue.bytes);
    std::list<PluginModule> modules = ReadCatalogue(input);
    std::string written;
    std::vector<std::string> expected;
    for (const PluginModule& module : modules) {
        bool representable = !module.version.empty() && !module.name.empty();
        for (const FileFilter& filter : module.filters)
            representable = representable && !filter.patterns.empty() && JoinPatternList(filter.patterns) != "-----";
        if (!representable)
            continue;
        WriteRecord(written, module);
        expected.push_back(Describe(module));
    }
    std::istringstream again(written);
    std::vector<std::string> reread;
    for (const PluginModule& module : ReadCatalogue(again))
        reread.push_back(Describe(module));
    EXPECT_EQ(reread, expected);
}

INSTANTIATE_TEST_SUITE_P(Hostile, HostileCatalogueRead, testing::ValuesIn(HostileCases()),
                         [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

}  // namespace
