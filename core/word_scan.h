#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Scans of text a machine word at a time: catalogue lines are nearly all printable
// bytes, and the platform's memchr is a plain byte loop under Wine.
namespace word_scan {

using Word = std::uintptr_t;
constexpr Word kOnes = ~Word(0) / 255;
constexpr Word kHighBits = kOnes * 0x80;

// The bytes of the word at `place` below `limit` (at most 0x80), each as its high bit.
// Only the lowest flag is exact (a borrow may flag bytes above it), and there is a flag
// exactly when a byte is below the limit.
inline Word BytesBelow(const char* place, unsigned limit)
{
    Word word;
    std::memcpy(&word, place, sizeof word);
    return (word - kOnes * limit) & ~word & kHighBits;
}

// Where in the word (loaded little-endian, as on every target here) the lowest flag is.
inline std::size_t FirstFlaggedByte(Word flags)
{
    return static_cast<std::size_t>(__builtin_ctzll(static_cast<unsigned long long>(flags))) / 8;
}

// True when a byte of [place, end) is below `limit` (at most 0x80).
inline bool AnyByteBelow(const char* place, const char* end, unsigned limit)
{
    for (; static_cast<std::size_t>(end - place) >= sizeof(Word); place += sizeof(Word)) {
        if (BytesBelow(place, limit) != 0)
            return true;
    }
    for (; place != end; ++place) {
        if (static_cast<unsigned char>(*place) < limit)
            return true;
    }
    return false;
}

}  // namespace word_scan
