#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "catalogue_arena.h"

// A filter's wildcard patterns, kept as the one text the catalogue holds them in and a
// host is given them in: joined with ";". The pattern-list rule makes every pattern
// non-empty and free of whitespace, with a ";" at most as its first byte, so the joined
// text splits back into the same patterns. One text per filter instead of one per
// pattern: catalogues hold thousands of filters, and this is most of their memory.
class PatternList {
public:
    using allocator_type = CatalogueAllocator<char>;

    // Gives the patterns in order, as views into the joined text.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = const std::string_view&;

        const_iterator() = default;
        reference operator*() const { return pattern_; }
        pointer operator->() const { return &pattern_; }
        const_iterator& operator++()
        {
            Seek(pattern_.data() + pattern_.size() + (pattern_.data() + pattern_.size() == end_ ? 0 : 1));
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b)
        {
            return a.pattern_.data() == b.pattern_.data();
        }
        friend bool operator!=(const const_iterator& a, const const_iterator& b) { return !(a == b); }

    private:
        friend class PatternList;
        const_iterator(const char* begin, const char* end) : end_(end) { Seek(begin); }
        // The first byte is pattern text even when it is a ";". Inline, and a plain
        // loop: patterns are a few bytes long and the probe walks thousands of them.
        void Seek(const char* begin)
        {
            const char* stop = begin;
            if (stop != end_) {
                ++stop;
                while (stop != end_ && *stop != ';')
                    ++stop;
            }
            pattern_ = std::string_view(begin, static_cast<std::size_t>(stop - begin));
        }

        std::string_view pattern_;
        const char* end_ = nullptr;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;
    using size_type = std::size_t;

    PatternList() = default;
    explicit PatternList(const allocator_type& allocator) : joined_(allocator) {}
    // Patterns as the rule gives them (see push_back); on the heap.
    PatternList(std::initializer_list<std::string_view> patterns);
    PatternList(const PatternList& other, const allocator_type& allocator) : joined_(other.joined_, allocator) {}
    PatternList(PatternList&& other, const allocator_type& allocator) : joined_(std::move(other.joined_), allocator) {}
    PatternList(const PatternList&) = default;
    PatternList(PatternList&&) = default;
    PatternList& operator=(const PatternList&) = default;
    PatternList& operator=(PatternList&&) = default;

    const_iterator begin() const { return const_iterator(joined_.data(), joined_.data() + joined_.size()); }
    const_iterator end() const
    {
        const char* end = joined_.data() + joined_.size();
        return const_iterator(end, end);
    }
    bool empty() const { return joined_.empty(); }
    std::size_t size() const;
    std::string_view operator[](std::size_t index) const;
    std::string_view back() const;

    // Adds a pattern as the rule gives one: not empty, no whitespace, and a ";" only as
    // its first byte. Anything else would not split back into itself.
    void push_back(std::string_view pattern);
    // Adds the patterns of a text that is already such patterns joined with ";".
    void AppendJoined(std::string_view joined);
    void clear() { joined_.clear(); }
    void reserve(std::size_t bytes) { joined_.reserve(bytes); }

    // The patterns joined with ";", with a zero byte behind.
    std::string_view Joined() const { return std::string_view(joined_.data(), joined_.size()); }
    const char* JoinedText() const { return joined_.c_str(); }

    allocator_type get_allocator() const { return joined_.get_allocator(); }

    friend bool operator==(const PatternList& a, const PatternList& b) { return a.joined_ == b.joined_; }
    friend bool operator!=(const PatternList& a, const PatternList& b) { return !(a == b); }

private:
    CatalogueText joined_;
};
