// The host of the start-up benchmark: what a picture viewer does when it starts and
// opens its first picture. It loads every plug-in of its plug-in folder (in name
// order), keeps the image filters, reads each one's information table (as a viewer
// does to offer file types), then asks the filters in turn whether they read the
// picture and has the first that accepts decode it. Like every picture viewer it
// imports the system libraries of a GUI program (user32, gdi32, shlwapi, shell32,
// comctl32, ole32), which are loaded with it before any plug-in (so a plug-in that
// imports them does not pay their start-up); it opens no window.
//
// Usage: startup_host PLUGIN_FOLDER PICTURE LAUNCHED
// LAUNCHED is the high-resolution counter's value when the benchmark started this
// process. Prints key=value lines; exit code 0 only when the picture was decoded.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench_files.h"
#include "child_run.h"
#include "gui_host_libraries.h"
#include "image_plugin.h"
#include "plugin_interface.h"
#include "process_stats.h"
#include "set_names.h"

namespace {

// An image filter as a host keeps it: loaded at start, asked for its information
// table, freed at the end.
class HostFilter {
public:
    explicit HostFilter(const std::string& path) : name_(path.substr(path.find_last_of('\\') + 1)), plugin_(path) {}

    const std::string& Name() const { return name_; }
    const ImagePlugin& Plugin() const { return plugin_; }

    bool IsImageFilter() const { return plugin_.HasImageEntryPoints() && plugin_.Information(0) == "00IN"; }

    // Reads the whole information table; returns its number of entries.
    int ReadInformation() const
    {
        int entries = 0;
        char text[1024];
        while (plugin_.GetPluginInfo(entries, text, sizeof text) > 0)
            ++entries;
        return entries;
    }

private:
    std::string name_;
    ImagePlugin plugin_;
};

// The picture's first 2 KB, which hosts hand to IsSupported.
struct PictureHead {
    char bytes[2048] = {};
};

PictureHead ReadHead(const std::string& path)
{
    PictureHead head;
    std::string bytes = ReadFileStart(path, sizeof head.bytes);
    bytes.copy(head.bytes, sizeof head.bytes);
    return head;
}

// Up to this many loaded libraries are named in the output.
constexpr std::size_t kNamedLibraries = 10;

// The file names of the modules in `after` that are not in `before`.
std::vector<std::string> NewNames(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::vector<std::string> names;
    for (const std::string& path : after) {
        if (std::find(before.begin(), before.end(), path) == before.end())
            names.push_back(path.substr(path.find_last_of('\\') + 1));
    }
    return names;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// Through the window system's formatter, which is what ties the host to user32.
void PrintCount(const char* key, int value)
{
    char line[128];
    wsprintfA(line, "%s=%d\n", key, value);
    std::fputs(line, stdout);
}

double Milliseconds(long long fromTicks, long long toTicks)
{
    return CounterSeconds(toTicks - fromTicks) * 1000;
}

}  // namespace

int main(int argc, char** argv)
{
    long long mainTicks = CounterNow();
    TieToGuiHostLibraries();
    std::vector<std::string> modulesAtStart = LoadedModulePaths();
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_host PLUGIN_FOLDER PICTURE LAUNCHED\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string picture = argv[2];
    long long launchedTicks = std::strtoll(argv[3], nullptr, 10);
    try {
        std::vector<std::unique_ptr<HostFilter>> filters;
        int informationEntries = 0;
        for (const std::string& name : FileNamesIn(folder, "*" BRISK_PLUGIN_EXTENSION)) {
            auto plugin = std::make_unique<HostFilter>(folder + "\\" + name);
            if (!plugin->IsImageFilter())
                continue;
            informationEntries += plugin->ReadInformation();
            filters.push_back(std::move(plugin));
        }

        long long loadedTicks = CounterNow();
        PictureHead head = ReadHead(picture);
        int asked = 0;
        const HostFilter* reader = nullptr;
        for (const auto& filter : filters) {
            ++asked;
            if (filter->Plugin().IsSupported(picture.c_str(), reinterpret_cast<ULONG_PTR>(head.bytes))) {
                reader = filter.get();
                break;
            }
        }
        long long probedTicks = CounterNow();
        HLOCAL bitmapInfo = nullptr;
        HLOCAL bitmapBits = nullptr;
        int result = reader ? reader->Plugin().GetPicture(picture.c_str(), 0, kSpiInputFile, &bitmapInfo, &bitmapBits, nullptr, 0)
                            : kSpiUnknownFormat;
        long long imageTicks = CounterNow();
        bool decoded = result == kSpiSuccess && bitmapInfo && bitmapBits;

        std::printf("launch_ms=%.3f\n", Milliseconds(launchedTicks, imageTicks));
        std::printf("main_ms=%.3f\n", Milliseconds(mainTicks, imageTicks));
        std::printf("load_ms=%.3f\n", Milliseconds(mainTicks, loadedTicks));
        std::printf("probe_ms=%.3f\n", Milliseconds(loadedTicks, probedTicks));
        std::printf("decode_ms=%.3f\n", Milliseconds(probedTicks, imageTicks));
        std::vector<std::string> newModules = NewNames(modulesAtStart, LoadedModulePaths());
        PrintCount("libraries", static_cast<int>(newModules.size()));
        std::printf("library_names=%s\n", newModules.size() <= kNamedLibraries ? Joined(newModules).c_str() : "");
        PrintCount("private_kib", static_cast<int>(PrivateBytes() / 1024));
        PrintCount("filters", static_cast<int>(filters.size()));
        PrintCount("information_entries", informationEntries);
        PrintCount("asked", asked);
        std::printf("reader=%s\n", reader ? reader->Name().c_str() : "");
        std::printf("decoded=%d\n", decoded ? 1 : 0);
        std::fflush(stdout);
        if (bitmapInfo)
            LocalFree(bitmapInfo);
        if (bitmapBits)
            LocalFree(bitmapBits);
        return decoded ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_host: %s\n", error.what());
        return 3;
    }
}
