#pragma once

#include "plugin_interface.h"

// The picture record as a host must read it. On x64 most plug-ins put hInfo after two
// padding bytes (offset 24), but some were built without them and write it at offset
// 22; a host that took the one for the other would free a wrong handle.
class PictureRecord {
public:
    // A record prepared for the plug-in to fill.
    PictureRecord();

    SpiPictureInfo* Target() { return &info_; }
    const SpiPictureInfo& Info() const { return info_; }
    // The text handle from whichever layout the plug-in wrote.
    HLOCAL TextHandle() const;
    // True when the plug-in wrote the record without the padding.
    bool Unpadded() const;

private:
    SpiPictureInfo info_;
};
