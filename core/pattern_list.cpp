#include "pattern_list.h"

#include <cstring>

void PatternList::const_iterator::Seek(const char* begin)
{
    if (begin == end_) {
        pattern_ = std::string_view(end_, 0);
        return;
    }
    // The first byte is pattern text even when it is a ";".
    const void* separator = std::memchr(begin + 1, ';', static_cast<std::size_t>(end_ - begin - 1));
    const char* stop = separator ? static_cast<const char*>(separator) : end_;
    pattern_ = std::string_view(begin, static_cast<std::size_t>(stop - begin));
}

PatternList::PatternList(std::initializer_list<std::string_view> patterns)
{
    for (std::string_view pattern : patterns)
        push_back(pattern);
}

std::size_t PatternList::size() const
{
    std::size_t count = 0;
    for (auto it = begin(); it != end(); ++it)
        ++count;
    return count;
}

std::string_view PatternList::operator[](std::size_t index) const
{
    auto it = begin();
    for (; index > 0; --index)
        ++it;
    return *it;
}

std::string_view PatternList::back() const
{
    std::string_view last;
    for (std::string_view pattern : *this)
        last = pattern;
    return last;
}

void PatternList::push_back(std::string_view pattern)
{
    if (!joined_.empty())
        joined_ += ';';
    joined_.append(pattern.data(), pattern.size());
}
