#pragma once

#include <windows.h>

// Owns one LocalAlloc block and frees it once, unless handed on with Release.
class LocalMemory {
public:
    explicit LocalMemory(HLOCAL block) : block_(block) {}
    ~LocalMemory()
    {
        if (block_)
            LocalFree(block_);
    }
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;

    HLOCAL Get() const { return block_; }
    HLOCAL Release()
    {
        HLOCAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HLOCAL block_;
};
