#include "pattern_list.h"

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

void PatternList::AppendJoined(std::string_view joined)
{
    if (joined.empty())
        return;
    if (joined_.empty()) {
        joined_ = CatalogueText(joined.data(), joined.size(), joined_.get_allocator());
        return;
    }
    joined_.reserve(joined_.size() + 1 + joined.size());
    joined_ += ';';
    joined_.append(joined.data(), joined.size());
}
