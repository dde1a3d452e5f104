#include <cstdio>
#include <cstring>

#include "dib_file.h"
#include "entry_point_calls.h"
#include "host_commands.h"
#include "host_files.h"
#include "host_text.h"
#include "picture_record.h"
#include "received_block.h"
#include "result_meaning.h"

namespace {

// The picture's text information, up to its first zero byte and never past the block.
std::string BlockText(const ReceivedBlock& block)
{
    if (!block.Data())
        return std::string();
    const void* end = std::memchr(block.Data(), '\0', block.Size());
    std::size_t length = end ? static_cast<const unsigned char*>(end) - block.Data() : block.Size();
    return std::string(reinterpret_cast<const char*>(block.Data()), length);
}

}  // namespace

void PrintPictureInfo(const PluginFile& plugin, const RequestInput& input, const std::string& path)
{
    PictureRecord record;
    CallResult called = CallGetPictureInfo(plugin, input, record.Target());
    int code = called.code;
    std::printf("%s (%s): %s\n", called.call.c_str(), input.KindText(), DescribeResult(code).c_str());
    RequireSuccess(plugin, called.call.c_str(), code, path);
    ReceivedBlock text(record.TextHandle());
    const SpiPictureInfo& info = record.Info();
    std::printf("  %ld x %ld pixels, %d bits per pixel", static_cast<long>(info.width), static_cast<long>(info.height),
                info.colorDepth);
    if (info.xDensity || info.yDensity)
        std::printf(", %u x %u dpi", info.xDensity, info.yDensity);
    if (info.left || info.top)
        std::printf(", placed at %ld,%ld", static_cast<long>(info.left), static_cast<long>(info.top));
    std::printf("\n");
    // The text is in the ANSI code page from either kind of entry point.
    std::string description = Utf8FromAnsi(BlockText(text));
    if (!description.empty())
        std::printf("  text: %s\n", description.c_str());
    if (record.Unpadded())
        std::printf("  note: the plug-in wrote its picture record without the padding before hInfo\n");
}

void RunPictureCommand(const HostOptions& options)
{
    std::unique_ptr<PluginFile> opened = OpenPlugin(options);
    const PluginFile& plugin = *opened;
    PrintPlugin(plugin);
    std::string path = FullPath(options.operands[1]);
    std::string outputPath = FullPath(options.operands[2]);
    PrintInputFile(path);
    const PluginEntryPoints& entry = plugin.EntryPoints();
    if (options.preview)
        ChoosesWide(plugin, entry.GetPreview, entry.GetPreviewW, "GetPreview");
    else
        ChoosesWide(plugin, entry.GetPicture, entry.GetPictureW, "GetPicture");
    std::string servedBy = AskSupport(plugin, path, options);
    RequestInput input(path, options.fromMemory);
    HLOCAL infoHandle = nullptr;
    HLOCAL bitsHandle = nullptr;
    int progressReports = 0;
    CallResult called = CallDecode(plugin, options.preview, input, &infoHandle, &bitsHandle, CountProgress,
                                   reinterpret_cast<LONG_PTR>(&progressReports));
    int code = called.code;
    const char* call = called.call.c_str();
    ReceivedBlock info(code == 0 ? infoHandle : nullptr);
    ReceivedBlock bits(code == 0 ? bitsHandle : nullptr);
    std::printf("%s (%s): %s, %d progress report%s\n", call, input.KindText(), DescribeResult(code).c_str(),
                progressReports, progressReports == 1 ? "" : "s");
    RequireSuccess(plugin, call, code, path);

    std::string file;
    DibSummary summary;
    std::string problem;
    if (!ComposeBmpFile(info.Data(), info.Size(), bits.Data(), bits.Size(), file, summary, problem))
        throw HostFailure{kHostPluginError, plugin.Label() + " returned an unusable picture for " + path + ": " + problem};
    std::printf("  %d x %d pixels, %u bits per pixel, rows stored %s\n", summary.width,
                summary.height < 0 ? -summary.height : summary.height, static_cast<unsigned>(summary.bitsPerPixel),
                summary.height < 0 ? "top-down" : "bottom-up");
    WriteWholeFile(outputPath, file);
    std::printf("wrote     %s (%u bytes)\n", outputPath.c_str(), static_cast<unsigned>(file.size()));
    std::printf("%s\n", servedBy.c_str());
}
