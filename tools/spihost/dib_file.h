#pragma once

// Turns a DIB as plug-ins hand it over (BITMAPINFO in one block, the bits in
// another) into the bytes of a .bmp file. Knows nothing of the platform.
#include <cstddef>
#include <cstdint>
#include <string>

struct DibSummary {
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: stored top-down
    std::uint16_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

// `infoSize` and `bitsSize` are the sizes of the blocks as allocated: nothing past
// them is read. False with `problem` set when the header does not fit the blocks.
bool ComposeBmpFile(const unsigned char* info, std::size_t infoSize, const unsigned char* bits,
                    std::size_t bitsSize, std::string& file, DibSummary& summary, std::string& problem);
