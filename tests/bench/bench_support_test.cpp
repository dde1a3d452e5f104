// The benchmark helpers whose faults would not stop a benchmark but would skew what
// it reports: the no-op plug-in's naming rule (its catalogue records must describe
// what its copies accept), the median, and the parsing of child results.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include "file_filter.h"
#include "key_values.h"
#include "noop_naming.h"
#include "statistics.h"

namespace {

TEST(NoopNaming, EveryPatternOfACopyMatchesTheNamesItAccepts)
{
    const std::string stem = NoopStem("C:\\bench\\plugins\\" + NoopCopyName(42));
    ASSERT_EQ(stem, "p0042");
    PatternList patterns = ParsePatternList(NoopPatternList(stem));
    ASSERT_EQ(patterns.size(), static_cast<std::size_t>(kNoopPatternCount));
    for (int which = 0; which < kNoopPatternCount; ++which) {
        std::string name = "C:\\pictures\\" + NoopFileName("photo", stem, which);
        SCOPED_TRACE(name);
        EXPECT_TRUE(NoopAccepts(stem, name));
        EXPECT_TRUE(PathMatchSpecA(name.c_str(), std::string(patterns[which]).c_str()));
        // Matches its pattern but is refused, as the probe benchmark needs.
        std::string refused = "C:\\pictures\\" + NoopFileName("rejected", stem, which);
        EXPECT_FALSE(NoopAccepts(stem, refused));
        EXPECT_TRUE(PathMatchSpecA(refused.c_str(), std::string(patterns[which]).c_str()));
    }
}

TEST(NoopNaming, CopiesUnderOtherNamesNeitherMatchNorAccept)
{
    const std::string mine = NoopStem(NoopCopyName(7));
    const std::string other = NoopStem(NoopCopyName(70));
    for (std::string_view pattern : ParsePatternList(NoopPatternList(mine))) {
        for (int which = 0; which < kNoopPatternCount; ++which) {
            std::string name = NoopFileName("photo", other, which);
            EXPECT_FALSE(PathMatchSpecA(name.c_str(), std::string(pattern).c_str())) << name << " " << pattern;
            EXPECT_FALSE(NoopAccepts(mine, name)) << name;
        }
    }
    EXPECT_FALSE(NoopAccepts(mine, "picture.bmp"));
    EXPECT_FALSE(NoopAccepts(mine, "no extension"));
}

TEST(Statistics, MedianOfOddAndEvenCounts)
{
    struct Case {
        std::vector<double> values;
        double median;
    };
    const Case cases[] = {
        {{}, 0}, {{5}, 5}, {{9, 1, 5}, 5}, {{4, 1, 3, 2}, 2.5}, {{7, 7, 1, 100}, 7},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(Median(c.values), c.median);
}

TEST(KeyValues, ReadsLinesWithCarriageReturnsAndIgnoresTheRest)
{
    KeyValues values = ParseKeyValues("launch_ms=12.5\r\nnoise\nreader=p0009.spi\nempty=\nlaunch_ms=13\n");
    EXPECT_DOUBLE_EQ(NumberOf(values, "launch_ms"), 13);
    EXPECT_EQ(values["reader"], "p0009.spi");
    EXPECT_EQ(values["empty"], "");
    EXPECT_THROW(NumberOf(values, "missing"), std::runtime_error);
}

}  // namespace
