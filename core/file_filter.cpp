#include "file_filter.h"

#include <string>

#include "word_scan.h"

namespace {

bool IsPatternWhitespace(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// A text without whitespace is its patterns joined with ";", with one more ";" behind
// when its last pattern was ended by one. Of a closing run of ";", the first is the
// separator of the pattern before it, the next begins a pattern, and so on; with no
// pattern before the run, its first begins one.
std::size_t JoinedSizeOfBareText(std::string_view text)
{
    std::size_t run = 0;
    while (run < text.size() && text[text.size() - 1 - run] == ';')
        ++run;
    const bool separatorLast = run == text.size() ? run % 2 == 0 : run % 2 == 1;
    return text.size() - (separatorLast ? 1 : 0);
}

}  // namespace

void AppendPatternList(std::string_view text, PatternList& patterns)
{
    // Catalogues as they are written have no whitespace in their pattern lines: those
    // are taken whole, in one copy.
    if (!text.empty() && !word_scan::AnyByteBelow(text.data(), text.data() + text.size(), ' ' + 1)) {
        patterns.AppendJoined(text.substr(0, JoinedSizeOfBareText(text)));
        return;
    }
    // One allocation for the list: the catalogue holds thousands of them.
    patterns.reserve(patterns.Joined().size() + text.size() + 1);
    const std::size_t size = text.size();
    std::size_t position = 0;
    std::string bare;
    for (;;) {
        while (position < size && IsPatternWhitespace(text[position]))
            ++position;
        if (position == size)
            return;
        // A pattern runs to the first ";" after its first byte (which is pattern text
        // even when it is a ";"), or to the end; whitespace inside it is dropped.
        const std::size_t begin = position;
        std::size_t kept = 0;
        std::size_t lastKept = begin;
        for (; position < size; ++position) {
            const char byte = text[position];
            if (IsPatternWhitespace(byte))
                continue;
            if (byte == ';' && kept > 0)
                break;
            ++kept;
            lastKept = position;
        }
        // Whitespace only behind the pattern (as in "*.a ;") leaves it in one piece.
        const std::string_view span = text.substr(begin, lastKept + 1 - begin);
        if (span.size() == kept) {
            patterns.push_back(span);
        } else {
            bare.clear();
            for (char byte : span) {
                if (!IsPatternWhitespace(byte))
                    bare.push_back(byte);
            }
            patterns.push_back(bare);
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
    return std::string(patterns.Joined());
}
