#pragma once

#include <string>

#include "library_width.h"

// The width of the library file at `path`, from its first 4 KB; kNotALibrary when it
// cannot be read.
LibraryWidth LibraryWidthOfFile(const std::string& path);
