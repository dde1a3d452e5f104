#pragma once

// Where the parts of an uncompressed Windows bitmap file lie, read from its headers
// and checked before a single pixel is touched. Knows nothing of the platform.
#include <cstddef>
#include <cstdint>

enum class BmpCheck {
    kOk,
    kNotBmp,       // no "BM" signature or an unknown header: someone else's file
    kUnsupported,  // a bitmap, but compressed or of a depth this reader lacks
    kBroken,       // a bitmap whose fields contradict each other or the file size
};

struct BmpLayout {
    std::uint32_t headerSize = 0;  // 12 for the old core header, 40 and up otherwise
    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; see topDown
    bool topDown = false;     // first stored row is the top one
    std::uint16_t bitsPerPixel = 0;
    std::int32_t xPixelsPerMeter = 0;
    std::int32_t yPixelsPerMeter = 0;
    std::uint32_t paletteEntries = 0;    // stored in the file
    std::uint32_t paletteEntrySize = 0;  // 3 (core header) or 4 bytes
    std::uint64_t paletteOffset = 0;
    std::uint64_t pixelOffset = 0;
    std::uint64_t stride = 0;    // bytes per row, padded to 4, in the file and the output
    std::uint64_t rowBytes = 0;  // bytes per row that carry pixels
};

// The file header and the bitmap header are 14 + at most 124 bytes.
constexpr std::size_t kBmpHeadBytes = 138;
// No picture of more than this many bytes of pixel data is accepted.
constexpr std::uint64_t kBmpMaxPixelBytes = std::uint64_t(1) << 32;

// Reads the headers from the file's first `size` bytes. `fileSize` is the size of
// the whole file, or 0 when only the first bytes are known (the check that the
// palette and pixels are in the file is then left out).
BmpCheck ReadBmpLayout(const unsigned char* head, std::size_t size, std::uint64_t fileSize, BmpLayout& layout);

// Entries in the palette of the output DIB: all 2^bits for 1, 4 and 8 bits, so that
// every index a pixel can hold is defined; none above.
std::uint32_t DibPaletteEntries(const BmpLayout& layout);
// BITMAPINFOHEADER plus the palette.
std::size_t DibInfoSize(const BmpLayout& layout);
// Bottom-up rows of `stride` bytes.
std::uint64_t DibBitsSize(const BmpLayout& layout);

// Writes the output BITMAPINFOHEADER and palette (DibInfoSize bytes) from the
// file's palette bytes (paletteEntries * paletteEntrySize of them).
void WriteDibInfo(const BmpLayout& layout, const unsigned char* filePalette, unsigned char* info);
