#pragma once

#include <cstddef>

// Which kind of Windows library a file's first bytes show, read from its PE header.
// The loader answers "bad format" alike for a library of another width and for a file
// that is no library at all; the header tells them apart.
enum class LibraryWidth {
    kNotALibrary,  // no PE header, or not a DLL
    k32Bit,        // i386
    k64Bit,        // x86-64
    kOther,        // a DLL for another processor (ARM64, ...)
};

// The width of the libraries this build cannot load itself but its bridge serves.
constexpr LibraryWidth kBridgedLibraryWidth = sizeof(void*) == 8 ? LibraryWidth::k32Bit : LibraryWidth::k64Bit;

// `bytes` holds the file's first `size` bytes; 4 KB cover every usual header.
LibraryWidth LibraryWidthOf(const unsigned char* bytes, std::size_t size);

// "32-bit", "64-bit", or a description of the other kinds.
const char* LibraryWidthText(LibraryWidth width);
