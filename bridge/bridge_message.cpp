#include "bridge_message.h"

#include <cstring>

namespace bridge {

void MessageWriter::U32(std::uint32_t value)
{
    unsigned char bytes[4];
    std::memcpy(bytes, &value, 4);
    fields_.insert(fields_.end(), bytes, bytes + 4);
}

void MessageWriter::I64(std::int64_t value)
{
    unsigned char bytes[8];
    std::memcpy(bytes, &value, 8);
    fields_.insert(fields_.end(), bytes, bytes + 8);
}

void MessageWriter::Bytes(const void* data, std::size_t size)
{
    U32(static_cast<std::uint32_t>(size));
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (size)
        fields_.insert(fields_.end(), bytes, bytes + size);
}

void MessageWriter::BytesInPlace(const void* data, std::size_t size)
{
    U32(static_cast<std::uint32_t>(size));
    if (!size)
        return;
    placed_.push_back({fields_.size(), static_cast<const unsigned char*>(data), size});
    placedSize_ += size;
}

void MessageWriter::CopyTo(unsigned char* destination) const
{
    std::size_t copiedFields = 0;
    for (const Placed& block : placed_) {
        const std::size_t fields = block.fieldsBefore - copiedFields;
        if (fields)
            std::memcpy(destination, fields_.data() + copiedFields, fields);
        destination += fields;
        copiedFields = block.fieldsBefore;
        std::memcpy(destination, block.data, block.size);
        destination += block.size;
    }
    if (fields_.size() > copiedFields)
        std::memcpy(destination, fields_.data() + copiedFields, fields_.size() - copiedFields);
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
