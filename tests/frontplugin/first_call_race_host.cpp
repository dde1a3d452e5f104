// A host whose threads make their first calls into both front plug-ins at one moment:
// two threads per front plug-in, one reading its information table, one probing.
// Prints what each thread saw: "imp=E,P arc=E,P", E the number of information entries
// (2 + 2 per filter), P the probe's answer.
//   first_call_race_host FOLDER IMAGE_NAME ARCHIVE_NAME
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "plugin_interface.h"
#include "set_names.h"

namespace {

std::atomic<int> waiting{4};

void StartTogether()
{
    --waiting;
    while (waiting.load() > 0)
        std::this_thread::yield();
}

int CountEntries(HMODULE front)
{
    auto* getPluginInfo =
        reinterpret_cast<GetPluginInfoFunction*>(reinterpret_cast<void (*)()>(GetProcAddress(front, "GetPluginInfo")));
    char buffer[512];
    int entries = 0;
    while (getPluginInfo(entries, buffer, sizeof buffer) != 0)
        ++entries;
    return entries;
}

int Probe(HMODULE front, const char* name)
{
    auto* isSupported =
        reinterpret_cast<IsSupportedFunction*>(reinterpret_cast<void (*)()>(GetProcAddress(front, "IsSupported")));
    return isSupported(name, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string folder = std::string(argv[1]) + "\\";
    HMODULE imp = LoadLibraryA((folder + BRISK_IMAGE_FRONT).c_str());
    HMODULE arc = LoadLibraryA((folder + BRISK_ARCHIVE_FRONT).c_str());
    if (!imp || !arc)
        return 3;
    int impEntries = 0, impProbe = 0, arcEntries = 0, arcProbe = 0;
    std::thread threads[] = {
        std::thread([&] { StartTogether(); impEntries = CountEntries(imp); }),
        std::thread([&] { StartTogether(); impProbe = Probe(imp, argv[2]); }),
        std::thread([&] { StartTogether(); arcEntries = CountEntries(arc); }),
        std::thread([&] { StartTogether(); arcProbe = Probe(arc, argv[3]); }),
    };
    for (std::thread& thread : threads)
        thread.join();
    std::printf("imp=%d,%d arc=%d,%d\n", impEntries, impProbe, arcEntries, arcProbe);
    return 0;
}
