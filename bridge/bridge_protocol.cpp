#include "bridge_protocol.h"

namespace bridge {

const char* const kEntryNames[kEntryCount] = {
    "GetPluginInfo",  "IsSupported",  "GetPictureInfo",  "GetPicture",      "GetPreview",   "GetArchiveInfo",
    "GetFileInfo",    "GetFile",      "ConfigurationDlg", "GetPluginInfoW", "IsSupportedW", "GetPictureInfoW",
    "GetPictureW",    "GetPreviewW",  "GetArchiveInfoW", "GetFileInfoW",    "GetFileW",
};

bool IsWide(Entry entry)
{
    return entry >= kGetPluginInfoW;
}

int FailureResult(Entry entry)
{
    switch (entry) {
    case kGetPluginInfo:
    case kGetPluginInfoW:
    case kIsSupported:
    case kIsSupportedW:
        return 0;
    case kGetPreview:
    case kGetPreviewW:
        return -1;
    default:
        return 2;
    }
}

}  // namespace bridge
