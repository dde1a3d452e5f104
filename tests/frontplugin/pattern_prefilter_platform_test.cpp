// The probe's quick test against the platform's wildcard match: whatever it rules out,
// PathMatchSpecA must refuse too, for names and patterns built from the characters
// where the two could part: case, wildcards, dots, separators, code-page letters and
// double-byte characters.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "pattern_prefilter.h"

namespace {

const std::vector<std::string> kPieces = {"a", "A", "g", "G", ".", "*", "?", ";", "\\", "\xE9", "\xC9",
                                          "\x83\x5C", "\x82\xA0", "jpg", "JPG", "~", "1"};

// Every sequence of up to `length` pieces.
std::vector<std::string> Strings(std::size_t length)
{
    std::vector<std::string> all = {""};
    std::vector<std::string> last = {""};
    for (std::size_t i = 0; i < length; ++i) {
        std::vector<std::string> next;
        for (const std::string& head : last)
            for (const std::string& piece : kPieces)
                next.push_back(head + piece);
        all.insert(all.end(), next.begin(), next.end());
        last = std::move(next);
    }
    return all;
}

TEST(PatternPrefilterOnThePlatform, NeverRulesOutWhatThePlatformMatches)
{
    const std::vector<std::string> names = Strings(2);
    const std::vector<std::string> patterns = Strings(2);
    long ruledOut = 0, compared = 0;
    for (const std::string& name : names) {
        for (const std::string& pattern : patterns) {
            if (pattern.empty())
                continue;
            ++compared;
            if (!LastCharacterRulesOut(name.c_str(), name.size(), pattern))
                continue;
            ++ruledOut;
            EXPECT_FALSE(PathMatchSpecA(name.c_str(), pattern.c_str())) << "name \"" << name << "\" pattern \""
                                                                        << pattern << "\"";
        }
    }
    // The test means something only if it rules out a fair share.
    EXPECT_GT(ruledOut, compared / 4);
}

}  // namespace
