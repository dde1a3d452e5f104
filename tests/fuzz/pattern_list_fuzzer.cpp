// Fuzzes the pattern-list rule: any bytes in, the list the rule gives taken byte by
// byte, and a list that the writer's form gives back unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "file_filter.h"
#include "fuzz_check.h"

namespace {

bool IsWhitespace(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// The rule as it is worded, one byte at a time, against which the reader's faster
// scan, and the list's split of its joined text, are checked.
std::vector<std::string> ByTheRule(const std::string& text)
{
    std::vector<std::string> patterns;
    std::string current;
    for (char byte : text + ";") {
        if (IsWhitespace(byte))
            continue;
        if (byte == ';' && !current.empty()) {
            patterns.push_back(current);
            current.clear();
            continue;
        }
        current.push_back(byte);
    }
    return patterns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const PatternList patterns = ParsePatternList(text);
    FUZZ_CHECK(std::vector<std::string>(patterns.begin(), patterns.end()) == ByTheRule(text),
               "the list differs from the rule's");
    for (std::string_view pattern : patterns) {
        FUZZ_CHECK(!pattern.empty(), "empty pattern");
        for (char byte : pattern)
            FUZZ_CHECK(!IsWhitespace(byte), "whitespace inside a pattern");
    }

    const std::string joined = JoinPatternList(patterns);
    FUZZ_CHECK(ParsePatternList(joined) == patterns, "joined list does not read back the same");
    FUZZ_CHECK(JoinPatternList(ParsePatternList(joined)) == joined, "joined form is not stable");

    // Whitespace carries nothing, wherever it stands.
    std::string bare;
    for (char byte : text) {
        if (!IsWhitespace(byte))
            bare.push_back(byte);
    }
    FUZZ_CHECK(ParsePatternList(bare) == patterns, "removing whitespace changed the list");
    return 0;
}
