#include "file_filter.h"

namespace {

bool IsPatternWhitespace(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

}  // namespace

void AppendPatternList(std::string_view text, PatternList& patterns)
{
    // One allocation for the list: the catalogue holds thousands of them.
    std::size_t separators = 0;
    for (char byte : text)
        separators += byte == ';';
    patterns.reserve(patterns.size() + separators + 1);
    const std::size_t size = text.size();
    std::size_t position = 0;
    for (;;) {
        while (position < size && IsPatternWhitespace(text[position]))
            ++position;
        if (position == size)
            return;
        // A pattern runs to the first ";" after its first byte (which is pattern text
        // even when it is a ";"), or to the end; whitespace inside it is dropped.
        const std::size_t begin = position;
        std::size_t kept = 0;
        bool gaps = false;
        for (; position < size; ++position) {
            const char byte = text[position];
            if (IsPatternWhitespace(byte)) {
                gaps = true;
                continue;
            }
            if (byte == ';' && kept > 0)
                break;
            ++kept;
        }
        const std::string_view span = text.substr(begin, position - begin);
        if (!gaps) {
            patterns.emplace_back(span);
        } else {
            CatalogueText& pattern = patterns.emplace_back();
            pattern.reserve(kept);
            for (char byte : span) {
                if (!IsPatternWhitespace(byte))
                    pattern.push_back(byte);
            }
        }
        if (position < size)
            ++position;
    }
}

PatternList ParsePatternList(std::string_view text)
{
    PatternList patterns;
    AppendPatternList(text, patterns);
    return patterns;
}

std::string JoinPatternList(const PatternList& patterns)
{
    std::string joined;
    for (const CatalogueText& pattern : patterns) {
        joined.append(pattern.data(), pattern.size());
        joined += ';';
    }
    if (!joined.empty())
        joined.pop_back();
    return joined;
}
