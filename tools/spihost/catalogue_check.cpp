// spihost check: a catalogue against the plug-ins it lists, as they are now.
#include <cstdio>
#include <fstream>
#include <list>
#include <map>
#include <sstream>
#include <vector>

#include "catalogue_location.h"
#include "catalogue_reader.h"
#include "host_commands.h"
#include "host_failure.h"
#include "host_files.h"
#include "host_text.h"
#include "library_width.h"
#include "module_path.h"
#include "bridged_plugin_file.h"
#include "plugin_file.h"
#include "plugin_query.h"
#include "record_differences.h"
#include "set_names.h"

namespace {

enum Finding { kMissing, kCannotLoad, kOtherWidth, kNotAPlugin, kChanged, kFront, kTwice, kFindingKinds };
const char* const kFindingNames[kFindingKinds] = {"missing",        "cannot be loaded", "of the other width",
                                                  "not a plug-in",  "changed",          "a front plug-in",
                                                  "listed twice"};

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string FileNameOf(const std::string& path)
{
    std::string::size_type slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFrontPlugin(const std::string& path)
{
    std::string name = Lower(FileNameOf(path));
    for (const char* front : {"briskimp.spi", "briskarc.spi", "briskimp.sph", "briskarc.sph"}) {
        if (name == front)
            return true;
    }
    return false;
}

// The width the file's header shows; kNotALibrary when it cannot be read.
LibraryWidth WidthOfFile(const std::string& path)
{
    std::ifstream file(path, std::ios::in | std::ios::binary);
    unsigned char bytes[4096] = {};
    file.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    return LibraryWidthOf(bytes, static_cast<std::size_t>(file.gcount()));
}

std::string OtherWidthText(LibraryWidth width)
{
    const bool ours64 = sizeof(void*) == 8;
    if (width == (ours64 ? LibraryWidth::k32Bit : LibraryWidth::k64Bit))
        return std::string("a ") + LibraryWidthText(width) + " plug-in, which this " + (ours64 ? "64" : "32") +
               "-bit set cannot load" +
               " and " BRISK_BRIDGE_PROGRAM " beside this program cannot serve: put it there" +
               (ours64 ? ", or list the plug-in in briskspi.txt for 32-bit hosts"
                       : " (it needs 64-bit Windows), or list the plug-in in briskspi64.txt for 64-bit hosts");
    return std::string();
}

struct Check {
    Finding finding;
    std::string text;
};

// How the plug-in's answers now differ from its record; nothing when they do not.
std::vector<Check> ChecksOfAnswers(const PluginModule& record, const std::optional<PluginModule>& now)
{
    if (!now)
        return {{kNotAPlugin, "exports no GetPluginInfo: not a Susie plug-in"}};
    std::vector<Check> checks;
    for (std::string& difference : RecordDifferences(record, AsCatalogued(*now)))
        checks.push_back({kChanged, "changed: " + Utf8FromAnsi(difference)});
    return checks;
}

// What is stale about one record (nothing when it is up to date). Loads the plug-in
// once and frees it. The catalogue's paths are ANSI, as the registry library loads them.
std::vector<Check> CheckRecord(const PluginModule& record)
{
    const std::string path = Utf8FromAnsi(record.path);
    if (IsFrontPlugin(std::string(record.path)))
        return {{kFront, "lists a front plug-in itself, which would only forward to its own catalogue: remove it"}};
    if (IsAbsolutePath(path) && !FileExists(path))
        return {{kMissing, FolderExists(path) ? "missing: it is a folder" : "missing: no such file"}};
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(record.path.c_str());
    DWORD error = GetLastError();
    SetErrorMode(oldMode);
    // A plug-in of the other width is served through the helper: check it the same way.
    PluginEntryPoints bridged;
    if (!library && error == ERROR_BAD_EXE_FORMAT && BindThroughBridge(std::string(record.path), bridged)) {
        return ChecksOfAnswers(record, QueryEntryPoints(std::string(record.path), std::move(bridged)));
    }
    if (!library) {
        if (error == ERROR_BAD_EXE_FORMAT) {
            std::string other = OtherWidthText(WidthOfFile(std::string(record.path)));
            if (!other.empty())
                return {{kOtherWidth, other}};
        }
        if (error == ERROR_MOD_NOT_FOUND && !IsAbsolutePath(std::string(record.path)))
            return {{kMissing, "missing: not found along the library search path (the path is relative)"}};
        return {{kCannotLoad, "cannot be loaded: " + ExplainLoadFailure(path, error)}};
    }
    return ChecksOfAnswers(record, QueryLoadedPlugin(std::string(record.path), SharedRef<HMODULE>(new PluginLibrary(library))));
}

}  // namespace

void RunCheckCommand(const HostOptions& options)
{
    std::string path = options.operands.empty()
                           ? Utf8FromAnsi(CataloguePathIn(FolderOf(ModuleFileName(nullptr)), GetCommandLineA()))
                           : FullPath(options.operands[0]);
    if (!FileExists(path))
        throw HostFailure{kHostFileError, "cannot open the catalogue " + path + ": " +
                                              (FolderExists(path) ? "it is a folder" : "no such file")};
    std::istringstream file(ReadWholeFile(path));
    std::list<PluginModule> records = ReadCatalogue(file);
    std::printf("catalogue %s: %u record%s\n", path.c_str(), static_cast<unsigned>(records.size()),
                records.size() == 1 ? "" : "s");

    int counts[kFindingKinds] = {};
    int staleRecords = 0;
    std::map<std::string, int> firstRecord;
    int number = 0;
    for (const PluginModule& record : records) {
        ++number;
        const std::string recordPath = Utf8FromAnsi(record.path);
        std::string key = Lower(IsAbsolutePath(recordPath) ? FullPath(recordPath) : recordPath);
        std::vector<Check> checks;
        auto seen = firstRecord.find(key);
        if (seen != firstRecord.end())
            checks.push_back({kTwice, "listed twice (first in record " + std::to_string(seen->second) +
                                          "): its plug-in is asked twice about every file"});
        else {
            firstRecord.emplace(key, number);
            checks = CheckRecord(record);
        }
        for (const Check& check : checks) {
            ++counts[check.finding];
            std::printf("  record %d, %s: %s\n", number, recordPath.c_str(), check.text.c_str());
        }
        staleRecords += !checks.empty();
    }
    if (staleRecords == 0) {
        std::printf("all %u records are up to date\n", static_cast<unsigned>(records.size()));
        return;
    }
    std::string kinds;
    for (int kind = 0; kind < kFindingKinds; ++kind) {
        if (counts[kind])
            kinds += (kinds.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + kFindingNames[kind];
    }
    std::printf("%d of %u records are stale (%s)\n", staleRecords, static_cast<unsigned>(records.size()),
                kinds.c_str());
    throw HostFailure{kHostStale, "the catalogue " + path + " is stale: make it again with " BRISK_SPILIST_PROGRAM};
}
