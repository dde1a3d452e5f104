#include "pattern_prefilter.h"

namespace {

char AsciiUpper(char byte)
{
    return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

bool IsPlainAscii(char byte)
{
    return static_cast<unsigned char>(byte) < 0x80;
}

}  // namespace

bool LastCharacterRulesOut(const char* name, std::size_t nameLength, std::string_view pattern)
{
    if (nameLength == 0 || pattern.empty())
        return false;
    const char patternEnd = pattern.back();
    const char nameEnd = name[nameLength - 1];
    if (patternEnd == '*' || patternEnd == '?' || patternEnd == '.')
        return false;
    if (!IsPlainAscii(patternEnd) || !IsPlainAscii(nameEnd) || AsciiUpper(patternEnd) == AsciiUpper(nameEnd))
        return false;
    // The platform splits a pattern at ';' into patterns of its own.
    return pattern.find(';') == std::string_view::npos;
}
