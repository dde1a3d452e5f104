#include "picture_record.h"

#include <cstddef>
#include <cstring>

namespace {

// The last two bytes of the padded record are the top of hInfo, zero in every handle a
// plug-in can return; a plug-in that writes the record without the padding stops two
// bytes short of them and leaves this mark.
constexpr unsigned char kMark = 0xA5;
constexpr std::size_t kUnpaddedTextOffset = offsetof(SpiPictureInfo, colorDepth) + sizeof(SHORT);
// Only the padded x64 record leaves room for the other layout.
constexpr bool kTwoLayouts = sizeof(SpiPictureInfo) > kUnpaddedTextOffset + sizeof(HLOCAL);

bool MarkStands(const SpiPictureInfo& info)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    return kTwoLayouts && bytes[sizeof info - 1] == kMark &&
           bytes[sizeof info - 2] == kMark;
}

}  // namespace

PictureRecord::PictureRecord()
{
    std::memset(&info_, 0, sizeof info_);
    if (kTwoLayouts) {
        auto* bytes = reinterpret_cast<unsigned char*>(&info_);
        bytes[sizeof info_ - 1] = kMark;
        bytes[sizeof info_ - 2] = kMark;
    }
}

bool PictureRecord::Unpadded() const
{
    return MarkStands(info_);
}

HLOCAL PictureRecord::TextHandle() const
{
    if (!Unpadded())
        return info_.hInfo;
    HLOCAL handle = nullptr;
    std::memcpy(&handle, reinterpret_cast<const unsigned char*>(&info_) + kUnpaddedTextOffset, sizeof handle);
    return handle;
}
