#pragma once

#include <windows.h>

#include <cstddef>

// One movable LocalAlloc block, locked while this object owns it: the form in which
// plug-ins hand pictures, entry tables and extracted files to the host. Freed on
// destruction unless handed over with Release.
class LocalBlock {
public:
    // Zero-filled; Data() is null when the memory could not be had.
    explicit LocalBlock(std::size_t size);
    ~LocalBlock();
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;

    unsigned char* Data() const { return data_; }
    // Unlocks the block and gives it to the caller, who frees it with LocalFree.
    HLOCAL Release();

private:
    HLOCAL handle_ = nullptr;
    unsigned char* data_ = nullptr;
};
