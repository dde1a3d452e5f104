#pragma once

#include <cstddef>
#include <cstdint>

// Random access to the bytes of one plug-in input: a region of a file or a memory
// image. The decoders read only through this, so they never see a handle.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies `count` bytes starting at `offset`; false when they are not all there.
    virtual bool Read(std::uint64_t offset, void* into, std::size_t count) = 0;
};

// A memory image the caller keeps alive (non-owning).
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, std::size_t size)
        : data_(static_cast<const unsigned char*>(data)), size_(size)
    {
    }
    std::uint64_t Size() const override { return size_; }
    bool Read(std::uint64_t offset, void* into, std::size_t count) override;

private:
    const unsigned char* data_;
    std::size_t size_;
};
