#pragma once

#include <initializer_list>
#include <string>

#include "file_filter.h"

// A filter of the given patterns and description, on the heap.
inline FileFilter MakeFilter(std::initializer_list<std::string> patterns, const std::string& description)
{
    FileFilter filter;
    for (const std::string& pattern : patterns)
        filter.patterns.push_back(pattern);
    filter.description.assign(description.data(), description.size());
    return filter;
}
