#pragma once

// One section of shared memory and this process's view of it, released together.
#include <cstdint>

#include <windows.h>

#include "owned_handle.h"

class MappedSection {
public:
    MappedSection() = default;
    ~MappedSection() { Unmap(); }
    MappedSection(const MappedSection&) = delete;
    MappedSection& operator=(const MappedSection&) = delete;

    // A new section of `size` bytes, named when `name` is given.
    bool Create(std::uint32_t size, const char* name = nullptr);
    // An existing section: by name, or a handle of this process's that is taken over.
    bool Open(const char* name, std::uint32_t size);
    bool Adopt(HANDLE section, std::uint32_t size);

    unsigned char* Data() const { return static_cast<unsigned char*>(view_); }
    std::uint32_t Size() const { return size_; }
    HANDLE Handle() const { return section_.Get(); }

private:
    bool Map(std::uint32_t size);
    void Unmap();
    OwnedHandle section_;
    void* view_ = nullptr;
    std::uint32_t size_ = 0;
};
