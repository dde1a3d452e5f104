#include "library_width.h"

#include <cstdint>

namespace {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kCharacteristicDll = 0x2000;

std::uint32_t Little(const unsigned char* bytes, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

LibraryWidth LibraryWidthOf(const unsigned char* bytes, std::size_t size)
{
    if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z')
        return LibraryWidth::kNotALibrary;
    std::uint32_t header = Little(bytes + 0x3C, 4);
    // Signature, machine (2), section count (2), three fields of 4, optional-header
    // size (2), characteristics (2).
    if (header > size || size - header < 24)
        return LibraryWidth::kNotALibrary;
    const unsigned char* pe = bytes + header;
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0)
        return LibraryWidth::kNotALibrary;
    if (!(Little(pe + 22, 2) & kCharacteristicDll))
        return LibraryWidth::kNotALibrary;
    switch (Little(pe + 4, 2)) {
    case kMachineI386:
        return LibraryWidth::k32Bit;
    case kMachineAmd64:
        return LibraryWidth::k64Bit;
    default:
        return LibraryWidth::kOther;
    }
}

const char* LibraryWidthText(LibraryWidth width)
{
    switch (width) {
    case LibraryWidth::k32Bit:
        return "32-bit";
    case LibraryWidth::k64Bit:
        return "64-bit";
    case LibraryWidth::kOther:
        return "for another processor";
    default:
        return "not a Windows library";
    }
}
