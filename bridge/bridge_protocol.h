#pragma once

// What the 64-bit set and its 32-bit helper say to each other. Both widths compile
// this header, so everything in it has fixed widths.
#include <cstdint>

namespace bridge {

// The entry points in the order of PluginEntryPoints: bit `entry` of an export mask
// is set when the plug-in exports that entry point.
enum Entry : std::uint32_t {
    kGetPluginInfo,
    kIsSupported,
    kGetPictureInfo,
    kGetPicture,
    kGetPreview,
    kGetArchiveInfo,
    kGetFileInfo,
    kGetFile,
    kConfigurationDlg,
    kGetPluginInfoW,
    kIsSupportedW,
    kGetPictureInfoW,
    kGetPictureW,
    kGetPreviewW,
    kGetArchiveInfoW,
    kGetFileInfoW,
    kGetFileW,
    kEntryCount,
};

extern const char* const kEntryNames[kEntryCount];

bool IsWide(Entry entry);
// The result a call gives when the helper cannot answer it.
int FailureResult(Entry entry);

// Message kinds. The host asks, the helper answers; during a call the helper may ask
// the host (progress, more shared memory) and waits for the host's answer.
enum Message : std::uint32_t {
    kNone,
    kLoad,      // host: path text -> helper kLoaded: plug-in id (0: not loaded), export mask
    kLoaded,
    kRelease,   // host: plug-in id -> helper kReleased
    kReleased,
    kCall,      // host: plug-in id, entry, arguments -> helper kResult
    kResult,
    kProgress,  // helper: done and total in the header -> host kProgressAnswer, answer in the header
    kProgressAnswer,
    kGrow,      // helper: needed size in the header -> host kGrown, a new data section
    kGrown,
    kQuit,      // host: the helper ends
};

// The start of the named section both processes map. Handle values are the helper's.
struct ChannelHeader {
    std::uint32_t toHelperEvent;
    std::uint32_t toHostEvent;
    std::uint32_t hostProcess;
    std::uint32_t message;
    std::uint32_t size;             // bytes of the message in the data section
    std::uint32_t dataSection;      // the current data section
    std::uint32_t dataCapacity;
    std::uint32_t dataGeneration;   // changes with every new data section
    std::int32_t progressDone;
    std::int32_t progressTotal;
    std::int32_t progressAnswer;
    std::uint32_t neededSize;
};

constexpr std::uint32_t kHeaderSectionSize = 4096;
// Header buffers of IsSupported hold a file's first 2 KB.
constexpr std::uint32_t kHeaderBufferSize = 2048;

// How IsSupported's `dw` crosses: as a value (0), a header buffer copy, or a file
// handle duplicated into the helper.
enum SupportInput : std::uint32_t { kValue, kHeaderBuffer, kFileHandle };

// What became of an output handle of the plug-in's: left as the host had it, set to
// null, or a LocalAlloc block whose bytes follow.
enum BlockState : std::uint32_t { kUntouched, kNull, kBlock };

// The 32-bit layouts of the interface's records.
#pragma pack(push, 1)
struct PictureInfo32 {
    std::int32_t left, top, width, height;
    std::uint16_t xDensity, yDensity;
    std::int16_t colorDepth;
    std::uint32_t hInfo;
};
static_assert(sizeof(PictureInfo32) == 26, "the 32-bit picture record");
// The fields before hInfo, the same bytes in both widths.
constexpr std::uint32_t kPictureFieldsSize = 22;

struct FileInfo32 {
    unsigned char method[8];
    std::uint32_t position, compressedSize, fileSize;
    std::int32_t timestamp;
    char path[200];
    char fileName[200];
    std::uint32_t crc;
};
static_assert(sizeof(FileInfo32) == 428, "the 32-bit archive entry record");

struct FileInfoW32 {
    unsigned char method[8];
    std::uint32_t position, compressedSize, fileSize;
    std::int32_t timestamp;
    char16_t path[200];
    char16_t fileName[200];
    std::uint32_t crc;
};
static_assert(sizeof(FileInfoW32) == 828, "the 32-bit wide archive entry record");
#pragma pack(pop)

}  // namespace bridge
