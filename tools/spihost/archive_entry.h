#pragma once

// An archive entry as spihost reports and extracts it, whichever record the plug-in
// gave: the ANSI fileInfo or the W fileInfoW.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin_interface.h"

struct ArchiveEntry {
    std::string method;
    std::uint64_t position = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t fileSize = 0;
    long long timestamp = 0;
    std::string folder;    // UTF-8, as the plug-in gave it
    std::string fileName;  // UTF-8

    std::string Name() const { return folder + fileName; }
};

ArchiveEntry EntryOfRecord(const SpiFileInfo& record);
ArchiveEntry EntryOfRecord(const SpiFileInfoW& record);

// The entries of a table of `wide` or ANSI records up to the one whose method is
// empty, never past `size` bytes; `terminated` tells whether that closing entry
// was found.
std::vector<ArchiveEntry> EntriesOfTable(const unsigned char* table, std::size_t size, bool wide, bool& terminated);
