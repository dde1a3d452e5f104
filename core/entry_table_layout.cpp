#include "entry_table_layout.h"

namespace {

constexpr std::size_t kMethodSize = 8;

// A method as plug-ins write it: printable characters, then zeros.
bool PlausibleMethod(const unsigned char* method)
{
    std::size_t length = 0;
    while (length < kMethodSize && method[length] >= 0x20 && method[length] < 0x7F)
        ++length;
    for (std::size_t i = length; i < kMethodSize; ++i) {
        if (method[i] != 0)
            return false;
    }
    return true;
}

// Read in `step`: every record's method plausible, up to a closing record within the
// block.
bool ReadsWell(const unsigned char* table, std::size_t size, std::size_t step)
{
    for (std::size_t at = 0; size - at >= step; at += step) {
        if (table[at] == 0)
            return true;
        if (!PlausibleMethod(table + at))
            return false;
    }
    return false;
}

bool AllZero(const unsigned char* bytes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    return true;
}

}  // namespace

std::size_t EntryTableStep(const unsigned char* table, std::size_t size, std::size_t padded, std::size_t unpadded)
{
    if (!table || unpadded >= padded)
        return padded;
    // The first record's padding is where the second record starts in the other
    // layout: a method there rather than the zeros plug-ins pad with, and the table
    // reads well without the padding. Read with the padding, such a table often seems
    // to end at its second record, so this comes before the block's size.
    if (size >= padded && !AllZero(table + unpadded, padded - unpadded) && ReadsWell(table, size, unpadded))
        return unpadded;
    const bool paddedSize = size % padded == 0;
    const bool unpaddedSize = size % unpadded == 0;
    if (paddedSize != unpaddedSize) {
        const std::size_t bySize = paddedSize ? padded : unpadded;
        if (ReadsWell(table, size, bySize))
            return bySize;
    }
    return padded;
}
