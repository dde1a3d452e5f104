#include "dib_file.h"

namespace {

std::uint32_t U32(const unsigned char* at)
{
    return at[0] | (std::uint32_t(at[1]) << 8) | (std::uint32_t(at[2]) << 16) | (std::uint32_t(at[3]) << 24);
}

std::uint16_t U16(const unsigned char* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

}  // namespace

bool ComposeBmpFile(const unsigned char* info, std::size_t infoSize, const unsigned char* bits,
                    std::size_t bitsSize, std::string& file, DibSummary& summary, std::string& problem)
{
    if (!info || infoSize < 40 || U32(info) < 40 || U32(info) > infoSize) {
        problem = "the bitmap information block is too small for a BITMAPINFOHEADER";
        return false;
    }
    std::uint32_t headerSize = U32(info);
    DibSummary read;
    read.width = static_cast<std::int32_t>(U32(info + 4));
    read.height = static_cast<std::int32_t>(U32(info + 8));
    read.bitsPerPixel = U16(info + 14);
    read.compression = U32(info + 16);
    std::uint32_t imageSize = U32(info + 20);
    std::uint32_t colorsUsed = U32(info + 32);
    if (read.width <= 0 || read.height == 0 || read.height == INT32_MIN || read.bitsPerPixel == 0 ||
        read.bitsPerPixel > 32) {
        problem = "the bitmap information holds an impossible size or depth";
        return false;
    }
    std::uint64_t paletteEntries = colorsUsed ? colorsUsed : (read.bitsPerPixel <= 8 ? 1u << read.bitsPerPixel : 0);
    std::uint64_t masks = (read.compression == kBitFields && headerSize == 40) ? 12 : 0;
    std::uint64_t infoBytes = headerSize + masks + 4 * paletteEntries;
    if (infoBytes > infoSize) {
        problem = "the bitmap information block ends inside its palette";
        return false;
    }
    std::uint64_t height = read.height < 0 ? -std::int64_t(read.height) : read.height;
    std::uint64_t bitsBytes = (std::uint64_t(read.width) * read.bitsPerPixel + 31) / 32 * 4 * height;
    if (read.compression != kUncompressed && read.compression != kBitFields)
        bitsBytes = imageSize;
    if (!bits || bitsBytes > bitsSize) {
        problem = "the bitmap bits block is smaller than the picture (" + std::to_string(bitsSize) + " of " +
                  std::to_string(bitsBytes) + " bytes)";
        return false;
    }
    std::uint64_t total = 14 + infoBytes + bitsBytes;
    if (total > 0xFFFFFFFFu) {
        problem = "the picture is too large for a .bmp file";
        return false;
    }
    std::string bytes(14, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutU32(bytes, 2, static_cast<std::uint32_t>(total));
    PutU32(bytes, 10, static_cast<std::uint32_t>(14 + infoBytes));
    bytes.append(reinterpret_cast<const char*>(info), static_cast<std::size_t>(infoBytes));
    bytes.append(reinterpret_cast<const char*>(bits), static_cast<std::size_t>(bitsBytes));
    file.swap(bytes);
    summary = read;
    return true;
}
