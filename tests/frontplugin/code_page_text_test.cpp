// Text conversions on their own, for what code page 1252 cannot reach through the
// front plug-ins: a cut at a surrogate pair.
#include <gtest/gtest.h>

#include "code_page_text.h"

namespace {

TEST(CodePageText, CutsKeepSurrogatePairsWhole)
{
    const std::wstring text = L"ab\U0001F600c";  // the emoji is units 2 and 3
    EXPECT_EQ(WholeUnits(text, 2), 2u);
    EXPECT_EQ(WholeUnits(text, 3), 2u);
    EXPECT_EQ(WholeUnits(text, 4), 4u);
    EXPECT_EQ(WholeUnits(text, 99), text.size());
    EXPECT_EQ(WholeUnits(text, 0), 0u);
}

TEST(CodePageText, OnlyExactAnsiFormsCount)
{
    EXPECT_EQ(AnsiFromWide(L"caf\u00E9"), std::optional<std::string>("caf\xE9"));
    // 1252 has no A-macron; the platform's nearest match "A" would name another file.
    EXPECT_EQ(AnsiFromWide(L"\u0100.png"), std::nullopt);
    EXPECT_EQ(AnsiFromWide(L"\u5199"), std::nullopt);
}

}  // namespace
