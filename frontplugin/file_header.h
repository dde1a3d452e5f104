#pragma once

#include <windows.h>

#include <optional>

// The beginning of a file as hosts hand it to IsSupported: its first 2 KB, with zero
// bytes past the end of a shorter file.
struct FileHeader {
    static constexpr DWORD kSize = 2048;
    char bytes[kSize] = {};
};

// Nothing when the file cannot be opened or read, or is no disk file. Others may
// have it open for writing or deleting; it is read all the same.
std::optional<FileHeader> ReadFileHeader(LPCSTR path);
std::optional<FileHeader> ReadFileHeader(LPCWSTR path);
