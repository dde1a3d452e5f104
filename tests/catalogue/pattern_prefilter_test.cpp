#include <gtest/gtest.h>

#include <cstring>

#include "pattern_prefilter.h"

namespace {

bool RulesOut(const char* name, const std::string& pattern)
{
    return LastCharacterRulesOut(name, std::strlen(name), pattern);
}

TEST(PatternPrefilter, RulesOutOnlyDifferentPlainLastCharacters)
{
    EXPECT_TRUE(RulesOut("C:\\pictures\\photo.bmp", "*.jpg"));
    EXPECT_TRUE(RulesOut("photo.jpg", "*.jpe"));
    EXPECT_TRUE(RulesOut("archive.tar", "abc"));
    EXPECT_FALSE(RulesOut("C:\\pictures\\photo.jpg", "*.jpg"));
    EXPECT_FALSE(RulesOut("PHOTO.JPG", "*.jpg"));
    EXPECT_FALSE(RulesOut("photo.jpg", "*.JPG"));
    // The same last character does not make a match; the platform decides.
    EXPECT_FALSE(RulesOut("photo.png", "*.jpg"));
}

TEST(PatternPrefilter, LeavesWildcardsDotsSeparatorsAndHighBytesToThePlatform)
{
    for (const char* pattern : {"*", "*.*", "*.jp?", "photo.", "*.", "a;*.jpg", "*.jpg;"})
        EXPECT_FALSE(RulesOut("photo.bmp", pattern)) << pattern;
    EXPECT_FALSE(RulesOut("photo.\xE9", "*.e"));
    EXPECT_FALSE(RulesOut("photo.e", "*.\xE9"));
    EXPECT_FALSE(RulesOut("photo.\x83\x5C", "*.\x83\x5C"));
    EXPECT_FALSE(RulesOut("", "*.jpg"));
    EXPECT_FALSE(RulesOut("photo.bmp", ""));
}

TEST(PatternPrefilter, OnlyTheGivenLengthOfTheNameCounts)
{
    const char name[] = "photo.jpgX";
    EXPECT_FALSE(LastCharacterRulesOut(name, 9, "*.jpg"));
    EXPECT_TRUE(LastCharacterRulesOut(name, 10, "*.jpg"));
}

}  // namespace
