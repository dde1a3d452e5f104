#include "file_filter.h"

namespace {

bool IsPatternWhitespace(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

}  // namespace

std::vector<std::string> ParsePatternList(const std::string& text)
{
    std::vector<std::string> patterns;
    // One allocation for the list: the catalogue holds thousands of them.
    std::size_t separators = 0;
    for (char byte : text)
        separators += byte == ';';
    patterns.reserve(separators + 1);
    std::string current;
    auto take = [&](char byte) {
        if (IsPatternWhitespace(byte))
            return;
        if (byte == ';' && !current.empty()) {
            patterns.push_back(std::move(current));
            current.clear();
            return;
        }
        current.push_back(byte);
    };
    for (char byte : text)
        take(byte);
    take(';');
    // Whatever is left holds only ";" bytes, or nothing.
    return patterns;
}

std::string JoinPatternList(const std::vector<std::string>& patterns)
{
    std::string joined;
    for (const std::string& pattern : patterns) {
        joined += pattern;
        joined += ';';
    }
    if (!joined.empty())
        joined.pop_back();
    return joined;
}
