#pragma once

// Copies a checked bitmap's palette and pixels out of its file into the DIB form
// hosts take: BITMAPINFOHEADER with a full palette, rows bottom-up.
#include <cstdint>
#include <functional>

#include "bmp_layout.h"
#include "byte_source.h"

enum class PixelRead { kDone, kCancelled, kReadFailed };

// Told how many rows are done out of how many; answers true to stop.
using RowProgress = std::function<bool(std::int32_t done, std::int32_t total)>;

// Fills `info` (DibInfoSize bytes) from the file's palette.
bool ReadDibInfo(ByteSource& file, const BmpLayout& layout, unsigned char* info);

// Fills `bits` (DibBitsSize bytes, zero-filled by the caller) with the rows,
// bottom row first whatever the file's order.
PixelRead ReadDibBits(ByteSource& file, const BmpLayout& layout, unsigned char* bits, const RowProgress& progress);
