#include "bridge_message.h"

#include <cstring>

namespace bridge {

void MessageWriter::U32(std::uint32_t value)
{
    unsigned char bytes[4];
    std::memcpy(bytes, &value, 4);
    data_.insert(data_.end(), bytes, bytes + 4);
}

void MessageWriter::I64(std::int64_t value)
{
    unsigned char bytes[8];
    std::memcpy(bytes, &value, 8);
    data_.insert(data_.end(), bytes, bytes + 8);
}

void MessageWriter::Bytes(const void* data, std::size_t size)
{
    U32(static_cast<std::uint32_t>(size));
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (size)
        data_.insert(data_.end(), bytes, bytes + size);
}

const unsigned char* MessageReader::Take(std::size_t size)
{
    if (size > size_ - offset_)
        throw EBrokenMessage();
    const unsigned char* at = data_ + offset_;
    offset_ += size;
    return at;
}

std::uint32_t MessageReader::U32()
{
    std::uint32_t value;
    std::memcpy(&value, Take(4), 4);
    return value;
}

std::int64_t MessageReader::I64()
{
    std::int64_t value;
    std::memcpy(&value, Take(8), 8);
    return value;
}

const unsigned char* MessageReader::Bytes(std::size_t* size)
{
    *size = U32();
    return Take(*size);
}

std::string MessageReader::Text()
{
    std::size_t size;
    const unsigned char* bytes = Bytes(&size);
    return std::string(reinterpret_cast<const char*>(bytes), size);
}

}  // namespace bridge
