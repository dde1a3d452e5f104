#include "bmp_layout.h"

#include <cstring>

#include "little_endian.h"

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kUncompressed = 0;

bool IsKnownHeaderSize(std::uint32_t size)
{
    // Core, info, and the later info headers that only append fields (52 and 56
    // add colour masks, 108 and 124 colour spaces). 64 is OS/2's own and differs.
    return size == kCoreHeaderBytes || size == kInfoHeaderBytes || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

bool IsSupportedDepth(std::uint16_t bits, bool coreHeader)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || (bits == 32 && !coreHeader);
}

}  // namespace

BmpCheck ReadBmpLayout(const unsigned char* head, std::size_t size, std::uint64_t fileSize, BmpLayout& layout)
{
    if (!head || size < kFileHeaderBytes + 4 || head[0] != 'B' || head[1] != 'M')
        return BmpCheck::kNotBmp;
    BmpLayout read;
    read.headerSize = ReadU32(head + kFileHeaderBytes);
    if (!IsKnownHeaderSize(read.headerSize))
        return BmpCheck::kNotBmp;
    if (size < kFileHeaderBytes + read.headerSize)
        return BmpCheck::kBroken;
    const unsigned char* header = head + kFileHeaderBytes;
    read.pixelOffset = ReadU32(head + 10);

    bool core = read.headerSize == kCoreHeaderBytes;
    std::uint16_t planes;
    std::uint32_t colorsUsed = 0;
    if (core) {
        read.width = ReadU16(header + 4);
        read.height = ReadU16(header + 6);
        planes = ReadU16(header + 8);
        read.bitsPerPixel = ReadU16(header + 10);
        read.paletteEntrySize = 3;
    } else {
        read.width = ReadI32(header + 4);
        std::int32_t height = ReadI32(header + 8);
        planes = ReadU16(header + 12);
        read.bitsPerPixel = ReadU16(header + 14);
        if (ReadU32(header + 16) != kUncompressed)
            return BmpCheck::kUnsupported;
        read.xPixelsPerMeter = ReadI32(header + 24);
        read.yPixelsPerMeter = ReadI32(header + 28);
        colorsUsed = ReadU32(header + 32);
        // -2^31 has no positive counterpart.
        if (height == INT32_MIN)
            return BmpCheck::kBroken;
        read.topDown = height < 0;
        read.height = height < 0 ? -height : height;
        read.paletteEntrySize = 4;
    }
    if (planes != 1)
        return BmpCheck::kBroken;
    if (!IsSupportedDepth(read.bitsPerPixel, core))
        return BmpCheck::kUnsupported;
    if (read.width <= 0 || read.height <= 0)
        return BmpCheck::kBroken;

    if (read.bitsPerPixel <= 8) {
        std::uint32_t fullPalette = 1u << read.bitsPerPixel;
        if (colorsUsed > fullPalette)
            return BmpCheck::kBroken;
        read.paletteEntries = colorsUsed == 0 ? fullPalette : colorsUsed;
    }
    read.paletteOffset = kFileHeaderBytes + read.headerSize;
    std::uint64_t paletteEnd = read.paletteOffset + std::uint64_t(read.paletteEntries) * read.paletteEntrySize;
    if (read.pixelOffset < paletteEnd)
        return BmpCheck::kBroken;

    std::uint64_t rowBits = std::uint64_t(read.width) * read.bitsPerPixel;
    read.rowBytes = (rowBits + 7) / 8;
    read.stride = (rowBits + 31) / 32 * 4;
    if (read.stride > kBmpMaxPixelBytes / std::uint64_t(read.height))
        return BmpCheck::kBroken;
    if (fileSize != 0) {
        // The last row may lack its padding; every pixel must be there.
        std::uint64_t pixelEnd = read.pixelOffset + read.stride * std::uint64_t(read.height - 1) + read.rowBytes;
        if (pixelEnd > fileSize)
            return BmpCheck::kBroken;
    }
    layout = read;
    return BmpCheck::kOk;
}

std::uint32_t DibPaletteEntries(const BmpLayout& layout)
{
    return layout.bitsPerPixel <= 8 ? 1u << layout.bitsPerPixel : 0;
}

std::size_t DibInfoSize(const BmpLayout& layout)
{
    return kInfoHeaderBytes + 4 * std::size_t(DibPaletteEntries(layout));
}

std::uint64_t DibBitsSize(const BmpLayout& layout)
{
    return layout.stride * std::uint64_t(layout.height);
}

void WriteDibInfo(const BmpLayout& layout, const unsigned char* filePalette, unsigned char* info)
{
    std::uint32_t entries = DibPaletteEntries(layout);
    std::memset(info, 0, DibInfoSize(layout));
    WriteU32(info, kInfoHeaderBytes);
    WriteU32(info + 4, static_cast<std::uint32_t>(layout.width));
    WriteU32(info + 8, static_cast<std::uint32_t>(layout.height));
    WriteU16(info + 12, 1);
    WriteU16(info + 14, layout.bitsPerPixel);
    WriteU32(info + 16, kUncompressed);
    WriteU32(info + 20, static_cast<std::uint32_t>(DibBitsSize(layout)));
    WriteU32(info + 24, static_cast<std::uint32_t>(layout.xPixelsPerMeter));
    WriteU32(info + 28, static_cast<std::uint32_t>(layout.yPixelsPerMeter));
    WriteU32(info + 32, entries);
    // Entries the file leaves out stay black.
    unsigned char* palette = info + kInfoHeaderBytes;
    for (std::uint32_t i = 0; i < layout.paletteEntries && i < entries; ++i) {
        const unsigned char* from = filePalette + std::size_t(i) * layout.paletteEntrySize;
        palette[4 * i] = from[0];
        palette[4 * i + 1] = from[1];
        palette[4 * i + 2] = from[2];
    }
}
