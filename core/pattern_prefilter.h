#pragma once

#include <cstddef>
#include <string_view>

// A quick test that lets the probe skip the platform's wildcard match for most
// patterns. Inline: the probe runs it for every pattern of the catalogue.

// True only when a pattern ending in `patternEnd`, and holding no ';', cannot match a
// name ending in `nameEnd`: both are plain ASCII characters that differ, case aside. A
// pattern that ends in a wildcard or a '.' is never ruled out, nor is anything ending
// in a byte above 0x7F (code-page letters and double-byte characters).
inline bool LastCharactersRuleOut(char nameEnd, char patternEnd)
{
    if (patternEnd == '*' || patternEnd == '?' || patternEnd == '.')
        return false;
    if (static_cast<unsigned char>(patternEnd) >= 0x80 || static_cast<unsigned char>(nameEnd) >= 0x80)
        return false;
    const auto upper = [](char byte) { return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte; };
    return upper(patternEnd) != upper(nameEnd);
}

// The same for a pattern of a PatternList, whose only possible ';' is its first byte,
// and a name ending in `nameEnd` ('\0' for the empty name, which nothing rules out).
inline bool ListPatternRulesOut(char nameEnd, std::string_view pattern)
{
    return nameEnd != '\0' && !pattern.empty() && pattern.front() != ';' &&
           LastCharactersRuleOut(nameEnd, pattern.back());
}

// True only when `pattern` cannot match the name of `nameLength` bytes at `name`, by
// the test above. A pattern that holds a ';' is never ruled out: the platform splits
// it there into patterns of its own. False means only "ask the platform".
inline bool LastCharacterRulesOut(const char* name, std::size_t nameLength, std::string_view pattern)
{
    return nameLength != 0 && pattern.find(';', 1) == std::string_view::npos &&
           ListPatternRulesOut(name[nameLength - 1], pattern);
}
