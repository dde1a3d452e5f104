#pragma once

#include <string>
#include <string_view>

#include "catalogue_arena.h"
#include "pattern_list.h"

// One filter of a plug-in: the wildcard patterns it reads and their description.
struct FileFilter {
    using allocator_type = CatalogueAllocator<char>;

    PatternList patterns;
    CatalogueText description;

    FileFilter() = default;
    explicit FileFilter(const allocator_type& allocator) : patterns(allocator), description(allocator) {}
    FileFilter(const FileFilter& other, const allocator_type& allocator)
        : patterns(other.patterns, allocator), description(other.description, allocator)
    {
    }
    FileFilter(FileFilter&& other, const allocator_type& allocator)
        : patterns(std::move(other.patterns), allocator), description(std::move(other.description), allocator)
    {
    }
    FileFilter(const FileFilter&) = default;
    FileFilter(FileFilter&&) = default;
    FileFilter& operator=(const FileFilter&) = default;
    FileFilter& operator=(FileFilter&&) = default;
};

// The pattern-list rule shared by the catalogue reader and the catalogue builder:
// ";" separates patterns, whitespace (0x09-0x0D, 0x20) vanishes wherever it stands,
// and a ";" met while no pattern has begun is kept as pattern text. The patterns are
// appended to `patterns`.
void AppendPatternList(std::string_view text, PatternList& patterns);
PatternList ParsePatternList(std::string_view text);

// The writer's form of a pattern list: each pattern followed by ";", then the last
// byte dropped. Reading the result with ParsePatternList gives the same list back.
std::string JoinPatternList(const PatternList& patterns);
