#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

#include "entry_point_calls.h"
#include "host_commands.h"
#include "host_files.h"
#include "output_names.h"
#include "received_block.h"
#include "result_meaning.h"

namespace {

std::string TimeText(long long timestamp)
{
    std::time_t time = static_cast<std::time_t>(timestamp);
    std::tm* utc = std::gmtime(&time);
    char text[32] = "-";
    if (utc)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", utc);
    return text;
}

void PrintEntry(const ArchiveEntry& entry)
{
    std::printf("  %-8s %10llu %10llu  %s  %s\n", entry.method.c_str(), static_cast<unsigned long long>(entry.position),
                static_cast<unsigned long long>(entry.fileSize), TimeText(entry.timestamp).c_str(),
                entry.Name().c_str());
}

std::vector<ArchiveEntry> ListEntries(const PluginFile& plugin, const RequestInput& input, const std::string& path)
{
    HLOCAL table = nullptr;
    bool wideTable = false;
    CallResult called = CallGetArchiveInfo(plugin, input, &table, wideTable);
    int code = called.code;
    ReceivedBlock block(code == 0 ? table : nullptr);
    EntryTable read = EntriesOfTable(block.Data(), block.Size(), wideTable);
    std::vector<ArchiveEntry>& entries = read.entries;
    std::printf("%s (%s): %s", called.call.c_str(), input.KindText(), DescribeResult(code).c_str());
    RequireSuccess(plugin, called.call.c_str(), code, path);
    std::printf(", %u entr%s\n", static_cast<unsigned>(entries.size()), entries.size() == 1 ? "y" : "ies");
    if (read.unpadded)
        std::printf("  note: the plug-in wrote its entry table in %u-byte steps, its records without the padding "
                    "at their end; read so\n",
                    static_cast<unsigned>(read.step));
    if (!read.terminated)
        std::printf("  note: the entry table has no closing entry (one with an empty method) within its "
                    "%u bytes\n", static_cast<unsigned>(block.Size()));
    if (!entries.empty())
        std::printf("  %-8s %10s %10s  %-16s  %s\n", "method", "position", "size", "modified (UTC)", "name");
    for (const ArchiveEntry& entry : entries)
        PrintEntry(entry);
    return std::move(entries);
}

// Extracts one entry below `folder`; returns the plug-in's result code.
int ExtractEntry(const PluginFile& plugin, const std::string& archive, const ArchiveEntry& entry,
                 const std::string& folder, bool toMemory)
{
    std::string target = folder + SafeRelativeFolder(entry.folder);
    MakeFolders(target);
    int progressReports = 0;
    LONG_PTR counter = reinterpret_cast<LONG_PTR>(&progressReports);
    LONG_PTR position = static_cast<LONG_PTR>(entry.position);
    CallResult called;
    std::string written;
    if (toMemory) {
        HLOCAL handle = nullptr;
        called = CallGetFileToMemory(plugin, archive, position, &handle, CountProgress, counter);
        ReceivedBlock block(called.code == 0 ? handle : nullptr);
        if (called.code == 0) {
            std::size_t size = block.Size();
            if (entry.fileSize < size)
                size = static_cast<std::size_t>(entry.fileSize);
            written = target + SafeFileName(entry.fileName);
            WriteWholeFile(written, std::string(reinterpret_cast<const char*>(block.Data()), block.Data() ? size : 0));
        }
    } else {
        called = CallGetFileToFolder(plugin, archive, position, target, CountProgress, counter);
        written = target + entry.fileName;
    }
    int code = called.code;
    std::printf("%s %s (%s): %s", called.call.c_str(), entry.Name().c_str(), toMemory ? "to memory" : "to folder",
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
    std::unique_ptr<PluginFile> opened = OpenPlugin(options);
    const PluginFile& plugin = *opened;
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
    std::unique_ptr<PluginFile> opened = OpenPlugin(options);
    const PluginFile& plugin = *opened;
    PrintPlugin(plugin);
    std::string path = FullPath(options.operands[1]);
    std::string folder = FullPath(options.operands[2]);
    if (folder.back() != '\\')
        folder += '\\';
    PrintInputFile(path);
    ChoosesWide(plugin, plugin.EntryPoints().GetFile, plugin.EntryPoints().GetFileW, "GetFile");
    std::string servedBy = AskSupport(plugin, path, options);
    RequestInput input(path, false);
    std::vector<ArchiveEntry> entries;
    if (options.operands.size() == 4) {
        const std::string& wanted = options.operands[3];
        ArchiveEntry entry;
        CallResult called = CallGetFileInfo(plugin, input, wanted, entry);
        int code = called.code;
        std::printf("%s %s: %s\n", called.call.c_str(), wanted.c_str(), DescribeResult(code).c_str());
        if (code != 0)
            throw HostFailure{kHostPluginError, plugin.Label() + " finds no entry " + wanted + " in " + path + ": " +
                                                    called.call + " returned " + DescribeResult(code)};
        PrintEntry(entry);
        entries.push_back(entry);
    } else {
        entries = ListEntries(plugin, input, path);
    }
    MakeFolders(folder);
    int failed = 0;
    for (const ArchiveEntry& entry : entries)
        failed += ExtractEntry(plugin, path, entry, folder, options.toMemory) != 0;
    if (failed)
        throw HostFailure{kHostPluginError, plugin.Label() + " could not extract " + std::to_string(failed) + " of " +
                                                std::to_string(entries.size()) + " entries from " + path};
    std::printf("%s\n", servedBy.c_str());
}
