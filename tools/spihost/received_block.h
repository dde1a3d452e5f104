#pragma once

#include <windows.h>

#include <cstddef>

// A LocalAlloc'd block a plug-in handed over: locked for reading while this object
// lives, then freed, as the interface makes the host the owner.
class ReceivedBlock {
public:
    explicit ReceivedBlock(HLOCAL handle);
    ~ReceivedBlock();
    ReceivedBlock(const ReceivedBlock&) = delete;
    ReceivedBlock& operator=(const ReceivedBlock&) = delete;

    // Null when the handle was null or could not be locked.
    const unsigned char* Data() const { return data_; }
    // The block's allocated size: nothing past it may be read.
    std::size_t Size() const { return size_; }

private:
    HLOCAL handle_;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
