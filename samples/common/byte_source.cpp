#include "byte_source.h"

#include <cstring>

bool MemoryByteSource::Read(std::uint64_t offset, void* into, std::size_t count)
{
    if (offset > size_ || count > size_ - offset)
        return false;
    if (count > 0)
        std::memcpy(into, data_ + offset, count);
    return true;
}
