#pragma once

#include <cstdint>

// Little-endian fields of file headers, read byte by byte so that alignment and the
// machine's own byte order never matter.
inline std::uint16_t ReadU16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t ReadU32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

inline std::int32_t ReadI32(const unsigned char* at)
{
    return static_cast<std::int32_t>(ReadU32(at));
}

inline void WriteU16(unsigned char* at, std::uint16_t value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

inline void WriteU32(unsigned char* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}
