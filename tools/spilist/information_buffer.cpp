#include "information_buffer.h"

#include <algorithm>
#include <cstring>

void InformationBuffer::Prefill()
{
    std::fill(bytes_.begin(), bytes_.end() - 1, ' ');
    bytes_.back() = '\0';
}

std::size_t InformationBuffer::TextLength() const
{
    const void* end = std::memchr(bytes_.data(), '\0', bytes_.size());
    return end ? static_cast<const char*>(end) - bytes_.data() : bytes_.size();
}

bool InformationBuffer::Full() const
{
    return TextLength() + 1 >= bytes_.size();
}

std::string InformationBuffer::Text() const
{
    return std::string(bytes_.data(), TextLength());
}
