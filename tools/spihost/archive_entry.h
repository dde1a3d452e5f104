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

struct EntryTable {
    std::vector<ArchiveEntry> entries;
    bool terminated = false;  // the closing entry was found
    bool unpadded = false;    // x64: the records came without their padding
    std::size_t step = 0;     // bytes from one record to the next
};

// The entries of a table of `wide` or ANSI records up to the one whose method is
// empty, never past `size` bytes, in the layout the plug-in wrote.
EntryTable EntriesOfTable(const unsigned char* table, std::size_t size, bool wide);
