#include "bmp_pixels.h"

#include <algorithm>
#include <vector>

namespace {

// Rows read with one call between two progress reports.
constexpr std::int32_t kRowsPerStep = 64;

void ReverseRows(const BmpLayout& layout, unsigned char* bits)
{
    std::size_t stride = static_cast<std::size_t>(layout.stride);
    for (std::int32_t top = 0, bottom = layout.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bits + stride * top, bits + stride * top + stride, bits + stride * bottom);
}

}  // namespace

bool ReadDibInfo(ByteSource& file, const BmpLayout& layout, unsigned char* info)
{
    std::vector<unsigned char> palette(std::size_t(layout.paletteEntries) * layout.paletteEntrySize);
    if (!palette.empty() && !file.Read(layout.paletteOffset, palette.data(), palette.size()))
        return false;
    WriteDibInfo(layout, palette.data(), info);
    return true;
}

PixelRead ReadDibBits(ByteSource& file, const BmpLayout& layout, unsigned char* bits, const RowProgress& progress)
{
    // Stored rows are copied in file order; a top-down file is turned over at the end.
    std::size_t stride = static_cast<std::size_t>(layout.stride);
    for (std::int32_t first = 0; first < layout.height; first += kRowsPerStep) {
        if (progress && progress(first, layout.height))
            return PixelRead::kCancelled;
        std::int32_t count = std::min(kRowsPerStep, layout.height - first);
        bool last = first + count == layout.height;
        // The file's last row may end without its padding.
        std::size_t bytes = stride * (count - 1) + (last ? static_cast<std::size_t>(layout.rowBytes) : stride);
        if (!file.Read(layout.pixelOffset + std::uint64_t(stride) * first, bits + stride * first, bytes))
            return PixelRead::kReadFailed;
    }
    if (layout.topDown)
        ReverseRows(layout, bits);
    if (progress && progress(layout.height, layout.height))
        return PixelRead::kCancelled;
    return PixelRead::kDone;
}
