#pragma once

// Uncompressed tar archives in the ustar layout (POSIX "ustar\0" and the GNU
// "ustar  " variant): header blocks read and checked, entries listed. Knows nothing
// of the platform.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_source.h"

constexpr std::size_t kTarBlockSize = 512;

enum class TarCheck {
    kOk,
    kNotTar,  // no ustar signature or a wrong checksum: someone else's file
    kBroken,  // a tar whose fields are malformed or point past its end
};

struct TarHeader {
    std::string name;  // the stored path, '/' between its parts
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // seconds since 1970
    char type = '0';
};

struct TarEntry {
    std::string name;
    std::uint64_t headerOffset = 0;  // from the start of the archive
    std::uint64_t dataOffset = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
};

// Reads one header block (kTarBlockSize bytes).
TarCheck ReadTarHeader(const unsigned char* block, TarHeader& header);

// True for the regular-file types, the only entries listed and extracted.
bool IsTarFile(char type);

// The archive's regular files in stored order. The archive ends at its first
// all-zero block or where the data ends. kNotTar only when the first header is not
// a tar header; any later fault makes the whole archive kBroken.
TarCheck ListTarEntries(ByteSource& archive, std::vector<TarEntry>& entries);

// The regular file whose header starts at `headerOffset`, checked to lie wholly
// inside the archive.
TarCheck ReadTarEntryAt(ByteSource& archive, std::uint64_t headerOffset, TarEntry& entry);
