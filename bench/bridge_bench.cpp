// What a 64-bit host pays for a 32-bit plug-in served through the bridge: the
// helper's start, a call that does nothing, and GetPicture of a 640x480 24-bit
// picture by the sample bitmap reader, against the same plug-in called directly in a
// 32-bit host (this program's 32-bit build, run as a child with --direct).
//
// Usage (64-bit build): bridge_bench --narrow-bin=FOLDER [--rounds=31] [--starts=15] [--smoke]
//   FOLDER is the 32-bit bench build's bin folder (its SampleBmp.spi and bridge_bench.exe).
// Usage (32-bit build): bridge_bench --direct --picture=FILE [--rounds=31]
// Prints a Markdown section (the 32-bit --direct run prints one number); exit code 0
// only when every call succeeded.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>

#include "bench_options.h"
#include "bmp_writer.h"
#include "child_run.h"
#include "markdown_table.h"
#include "plugin_binding.h"
#include "plugin_interface.h"
#include "statistics.h"
#include "stopwatch.h"
#if defined(_WIN64)
#include "bridge_protocol.h"
#include "bridged_binding.h"
#include "bridge_client.h"
#include "helper_process.h"
#endif

namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

double DecodeSeconds(GetPictureFunction* getPicture, const std::string& picture)
{
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    Stopwatch clock;
    int result = getPicture(picture.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0);
    double seconds = clock.Seconds();
    if (result != 0 || !bits)
        throw std::runtime_error("GetPicture failed: " + std::to_string(result));
    LocalFree(info);
    LocalFree(bits);
    return seconds;
}

double MedianDecode(GetPictureFunction* getPicture, const std::string& picture, int rounds)
{
    DecodeSeconds(getPicture, picture);  // warm caches and pages
    std::vector<double> seconds;
    for (int i = 0; i < rounds; ++i)
        seconds.push_back(DecodeSeconds(getPicture, picture));
    return Median(seconds);
}

std::string FolderOfProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

#if defined(_WIN64)

std::string WritePicture()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "bridge_bench_picture.bmp";
    std::string bytes = WriteBmp(PatternImage(kPictureWidth, kPictureHeight, 24, false));
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        throw std::runtime_error("cannot write " + path);
    std::fclose(file);
    return path;
}

// From the process start to the helper's first answer.
double HelperStartSeconds()
{
    Stopwatch clock;
    HelperProcess helper;
    if (!helper.Start(HelperProgramPath()))
        throw std::runtime_error("the helper does not start");
    bridge::MessageWriter release;
    release.U32(0);
    if (!helper.Post(bridge::kRelease, &release) || helper.Wait(10000) != bridge::kReleased)
        throw std::runtime_error("the helper does not answer");
    return clock.Seconds();
}

int RunBridged(const BenchOptions& options)
{
    const bool smoke = options.Has("smoke");
    const int rounds = options.Number("rounds", smoke ? 3 : 31);
    const int starts = options.Number("starts", smoke ? 2 : 15);
    std::string narrowBin = options.Text("narrow-bin", "");
    if (!narrowBin.empty() && narrowBin.back() != '\\')
        narrowBin += '\\';
    std::printf("## 32-bit plug-ins through the bridge\n\n");
    if (narrowBin.empty()) {
        std::printf("Not measured: no 32-bit build to take the plug-in from (--narrow-bin).\n\n");
        return 0;
    }
    const std::string picture = WritePicture();

    std::vector<double> startSeconds;
    for (int i = 0; i < starts; ++i)
        startSeconds.push_back(HelperStartSeconds());

    SharedRef<PluginEntryPoints> plugin;
    if (BindBridged((narrowBin + "SampleBmp.spi").c_str(), &plugin) != kBridgeBound || !plugin->GetPicture)
        throw std::runtime_error("the bridge does not bind " + narrowBin + "SampleBmp.spi");
    const double bridged = MedianDecode(plugin->GetPicture, picture, rounds);
    std::vector<double> emptyCall;
    char text[64];
    for (int i = 0; i < rounds * 20; ++i) {
        Stopwatch clock;
        plugin->GetPluginInfo(0, text, sizeof text);
        emptyCall.push_back(clock.Seconds());
    }

    ChildRun direct = RunChild("\"" + narrowBin + "bridge_bench.exe\" --direct --rounds=" + std::to_string(rounds) +
                               " \"--picture=" + picture + "\"");
    if (direct.exitCode != 0)
        throw std::runtime_error("the 32-bit direct run failed");
    const double directSeconds = std::stod(direct.output);
    DeleteFileA(picture.c_str());

    const double overhead = (bridged - directSeconds) / directSeconds * 100;
    const double start = Median(startSeconds);
    std::printf("A 64-bit host calls the 32-bit sample bitmap reader (SampleBmp.spi) through the helper,\n"
                "against a 32-bit host calling it in its own process; a %dx%d, 24-bit picture by file name.\n"
                "Medians of %d calls (%d helper starts).\n\n",
                kPictureWidth, kPictureHeight, rounds, starts);
    MarkdownTable table({"measure", "median"});
    table.AddRow({"helper start: process created to its first answer", Fixed(start * 1000, 1) + " ms"});
    table.AddRow({"a call that does nothing, GetPluginInfo(0), through the bridge",
                  Fixed(Median(emptyCall) * 1e6, 1) + " us"});
    table.AddRow({"GetPicture, called directly in a 32-bit host", Fixed(directSeconds * 1000, 2) + " ms"});
    table.AddRow({"GetPicture through the bridge from a 64-bit host", Fixed(bridged * 1000, 2) + " ms"});
    std::printf("%s\n", table.Text().c_str());
    std::printf("Target (bridged GetPicture under 10%% on top of the decode): %s (%+.1f%%).\n",
                overhead < 10 ? "met" : "not met", overhead);
    std::printf("Target (helper start under 50 ms): %s (%.1f ms).\n\n", start < 0.05 ? "met" : "not met",
                start * 1000);
    return 0;
}

#else

int RunDirect(const BenchOptions& options)
{
    const int rounds = options.Number("rounds", 31);
    SharedRef<PluginEntryPoints> plugin = LoadPlugin(FolderOfProgram() + "SampleBmp.spi");
    if (!plugin->GetPicture)
        throw std::runtime_error("SampleBmp.spi does not load");
    std::printf("%.9f\n", MedianDecode(plugin->GetPicture, options.Text("picture", ""), rounds));
    return 0;
}

#endif

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    try {
#if defined(_WIN64)
        return RunBridged(options);
#else
        // The 32-bit build only serves the 64-bit one's comparison.
        return options.Has("direct") ? RunDirect(options) : 0;
#endif
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bridge_bench: %s\n", error.what());
        return 1;
    }
}
