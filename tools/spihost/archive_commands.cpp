#include <cstdio>
#include <ctime>
#include <vector>

#include "host_commands.h"
#include "host_files.h"
#include "output_names.h"
#include "received_block.h"
#include "result_meaning.h"

namespace {

std::string FieldText(const char* field, std::size_t width)
{
    std::size_t length = 0;
    while (length < width && field[length])
        ++length;
    return std::string(field, length);
}

std::string EntryName(const SpiFileInfo& entry)
{
    return FieldText(entry.path, sizeof entry.path) + FieldText(entry.fileName, sizeof entry.fileName);
}

std::string TimeText(LONG_PTR timestamp)
{
    std::time_t time = timestamp;
    std::tm* utc = std::gmtime(&time);
    char text[32] = "-";
    if (utc)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", utc);
    return text;
}

// The entries up to the one whose method is empty, never past the block's end.
std::vector<SpiFileInfo> EntryTable(const ReceivedBlock& block, bool& terminated)
{
    std::vector<SpiFileInfo> entries;
    terminated = false;
    const auto* records = reinterpret_cast<const SpiFileInfo*>(block.Data());
    std::size_t count = block.Data() ? block.Size() / sizeof(SpiFileInfo) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (records[i].method[0] == 0) {
            terminated = true;
            break;
        }
        entries.push_back(records[i]);
    }
    return entries;
}

void PrintEntry(const SpiFileInfo& entry)
{
    std::printf("  %-8s %10llu %10llu  %s  %s\n", FieldText(reinterpret_cast<const char*>(entry.method), 8).c_str(),
                static_cast<unsigned long long>(entry.position), static_cast<unsigned long long>(entry.fileSize),
                TimeText(entry.timestamp).c_str(), EntryName(entry).c_str());
}

std::vector<SpiFileInfo> ListEntries(const PluginFile& plugin, const RequestInput& input, const std::string& path)
{
    auto* getArchiveInfo = plugin.Need(plugin.EntryPoints().GetArchiveInfo, "GetArchiveInfo");
    HLOCAL table = nullptr;
    int code = getArchiveInfo(input.Buffer(), input.Length(), input.Flag(), &table);
    ReceivedBlock block(code == 0 ? table : nullptr);
    bool terminated = false;
    std::vector<SpiFileInfo> entries = EntryTable(block, terminated);
    std::printf("GetArchiveInfo (%s): %s", input.KindText(), DescribeResult(code).c_str());
    RequireSuccess(plugin, "GetArchiveInfo", code, path);
    std::printf(", %u entr%s\n", static_cast<unsigned>(entries.size()), entries.size() == 1 ? "y" : "ies");
    if (!terminated)
        std::printf("  note: the entry table has no closing entry (one with an empty method) within its "
                    "%u bytes\n", static_cast<unsigned>(block.Size()));
    if (!entries.empty())
        std::printf("  %-8s %10s %10s  %-16s  %s\n", "method", "position", "size", "modified (UTC)", "name");
    for (const SpiFileInfo& entry : entries)
        PrintEntry(entry);
    return entries;
}

// Extracts one entry below `folder`; returns the plug-in's result code.
int ExtractEntry(const PluginFile& plugin, const std::string& archive, const SpiFileInfo& entry,
                 const std::string& folder, bool toMemory)
{
    auto* getFile = plugin.EntryPoints().GetFile;
    std::string target = folder + SafeRelativeFolder(FieldText(entry.path, sizeof entry.path));
    MakeFolders(target);
    std::string name = FieldText(entry.fileName, sizeof entry.fileName);
    int progressReports = 0;
    LONG_PTR counter = reinterpret_cast<LONG_PTR>(&progressReports);
    LONG_PTR position = static_cast<LONG_PTR>(entry.position);
    int code;
    std::string written;
    if (toMemory) {
        HLOCAL handle = nullptr;
        code = getFile(archive.c_str(), position, reinterpret_cast<LPSTR>(&handle),
                       kSpiInputFile | kSpiOutputMemory, CountProgress, counter);
        ReceivedBlock block(code == 0 ? handle : nullptr);
        if (code == 0) {
            std::size_t size = block.Size();
            if (entry.fileSize < size)
                size = static_cast<std::size_t>(entry.fileSize);
            written = target + SafeFileName(name);
            WriteWholeFile(written, std::string(reinterpret_cast<const char*>(block.Data()), block.Data() ? size : 0));
        }
    } else {
        std::string destination = target;
        code = getFile(archive.c_str(), position, &destination[0], kSpiInputFile | kSpiOutputFile, CountProgress,
                       counter);
        written = target + name;
    }
    std::printf("GetFile %s (%s): %s", EntryName(entry).c_str(), toMemory ? "to memory" : "to folder",
                DescribeResult(code).c_str());
    if (code == 0 && FileExists(written))
        std::printf(" -> %s (%llu bytes)\n", written.c_str(), static_cast<unsigned long long>(FileSize(written)));
    else if (code == 0)
        std::printf(", but no file %s appeared\n", written.c_str());
    else
        std::printf("\n");
    return code;
}

}  // namespace

void PrintArchiveList(const PluginFile& plugin, const RequestInput& input, const std::string& path)
{
    ListEntries(plugin, input, path);
}

void RunListCommand(const HostOptions& options)
{
    PluginFile plugin(options.operands[0]);
    PrintPlugin(plugin);
    std::string path = FullPath(options.operands[1]);
    PrintInputFile(path);
    std::string servedBy = AskSupport(plugin, path, options);
    RequestInput input(path, options.fromMemory);
    ListEntries(plugin, input, path);
    std::printf("%s\n", servedBy.c_str());
}

void RunExtractCommand(const HostOptions& options)
{
    PluginFile plugin(options.operands[0]);
    PrintPlugin(plugin);
    std::string path = FullPath(options.operands[1]);
    std::string folder = FullPath(options.operands[2]);
    if (folder.back() != '\\')
        folder += '\\';
    PrintInputFile(path);
    plugin.Need(plugin.EntryPoints().GetFile, "GetFile");
    std::string servedBy = AskSupport(plugin, path, options);
    RequestInput input(path, false);
    std::vector<SpiFileInfo> entries;
    if (options.operands.size() == 4) {
        const std::string& wanted = options.operands[3];
        auto* getFileInfo = plugin.Need(plugin.EntryPoints().GetFileInfo, "GetFileInfo");
        SpiFileInfo entry = {};
        int code = getFileInfo(input.Buffer(), input.Length(), wanted.c_str(), input.Flag(), &entry);
        std::printf("GetFileInfo %s: %s\n", wanted.c_str(), DescribeResult(code).c_str());
        if (code != 0)
            throw HostFailure{kHostPluginError, plugin.Label() + " finds no entry " + wanted + " in " + path +
                                                    ": GetFileInfo returned " + DescribeResult(code)};
        PrintEntry(entry);
        entries.push_back(entry);
    } else {
        entries = ListEntries(plugin, input, path);
    }
    MakeFolders(folder);
    int failed = 0;
    for (const SpiFileInfo& entry : entries)
        failed += ExtractEntry(plugin, path, entry, folder, options.toMemory) != 0;
    if (failed)
        throw HostFailure{kHostPluginError, plugin.Label() + " could not extract " + std::to_string(failed) + " of " +
                                                std::to_string(entries.size()) + " entries from " + path};
    std::printf("%s\n", servedBy.c_str());
}
