// What a host pays for a plug-in of the other width served through the bridge: the
// helper's start, a call that does nothing, and GetPicture of a 640x480 and of a
// 6000x4000 24-bit picture by the sample bitmap reader, against the same plug-in
// called directly in a host of its own width (this program's other build, run as a
// child with --direct). The two sides take turns in passes. Either build measures
// its own direction: the 64-bit one a 32-bit plug-in through briskbridge32.exe, the
// 32-bit one a 64-bit plug-in through briskbridge64.exe.
//
// It also times the parts a bridged picture adds, each alone: the helper's copy of
// the plug-in's block into the shared section (in the child, after each direct
// decode), and the host's block (LocalAlloc and the copy out of a section, then that
// split into the first touch of fresh pages and a copy into touched ones).
//
// Usage: bridge_bench --other-bin=FOLDER [--rounds=31] [--large-rounds=9] [--passes=3]
//                     [--starts=15] [--smoke]
//   FOLDER is the other width's bench build bin folder (its SampleBmp and bridge_bench.exe).
// Usage (child): bridge_bench --direct --rounds=N,N --pictures=FILE;FILE
// Prints a Markdown section (the child prints key=value lines); exit code 0 only when
// every call succeeded and the bridged pictures were the pictures written.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>

#include "bench_options.h"
#include "bmp_writer.h"
#include "bridge_message.h"
#include "bridge_protocol.h"
#include "bridged_binding.h"
#include "child_run.h"
#include "helper_process.h"
#include "bridge_client.h"
#include "key_values.h"
#include "mapped_section.h"
#include "markdown_table.h"
#include "plugin_binding.h"
#include "plugin_interface.h"
#include "set_names.h"
#include "statistics.h"
#include "stopwatch.h"

namespace {

struct PictureSize {
    int width;
    int height;
    double target;  // bridged / direct at most
};
const PictureSize kSizes[] = {{640, 480, 1.25}, {6000, 4000, 1.10}};
constexpr int kSizeCount = 2;

#if defined(_WIN64)
#define OTHER_PLUGIN_EXTENSION ".spi"
#define OTHER_WIDTH "32-bit"
#define OWN_WIDTH "64-bit"
#else
#define OTHER_PLUGIN_EXTENSION ".sph"
#define OTHER_WIDTH "64-bit"
#define OWN_WIDTH "32-bit"
#endif

std::string FolderOfProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of('\\') + 1);
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t to = text.find(separator, from);
        if (to == std::string::npos)
            to = text.size();
        if (to > from)
            parts.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    return parts;
}

std::string Join(const std::vector<double>& values)
{
    std::string text;
    char number[32];
    for (double value : values) {
        std::snprintf(number, sizeof number, "%.9f", value);
        text += (text.empty() ? "" : ",") + std::string(number);
    }
    return text;
}

std::vector<double> Numbers(const KeyValues& values, const std::string& key)
{
    auto found = values.find(key);
    if (found == values.end())
        throw std::runtime_error("the direct run gave no " + key);
    std::vector<double> numbers;
    for (const std::string& part : Split(found->second, ','))
        numbers.push_back(std::stod(part));
    return numbers;
}

void Append(std::vector<double>& to, const std::vector<double>& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// One GetPicture by file name; the handles are the caller's.
double Decode(GetPictureFunction* getPicture, const std::string& picture, HLOCAL* info, HLOCAL* bits)
{
    *info = nullptr;
    *bits = nullptr;
    Stopwatch clock;
    int result = getPicture(picture.c_str(), 0, kSpiInputFile, info, bits, nullptr, 0);
    double seconds = clock.Seconds();
    if (result != 0 || !*bits || !*info)
        throw std::runtime_error("GetPicture failed on " + picture + ": " + std::to_string(result));
    return seconds;
}

std::size_t BitsBytes(const PictureSize& size)
{
    return static_cast<std::size_t>((size.width * 3 + 3) / 4 * 4) * size.height;
}

// ---------------------------------------------------------------------------------
// The child: the plug-in of its own width, called directly.

int RunDirect(const BenchOptions& options)
{
    std::vector<int> rounds = options.Numbers("rounds", {31, 9});
    std::vector<std::string> pictures = Split(options.Text("pictures", ""), ';');
    if (pictures.size() != rounds.size())
        throw std::runtime_error("--direct wants as many --rounds as --pictures");
    SharedRef<PluginEntryPoints> plugin = LoadPlugin(FolderOfProgram() + BRISK_SAMPLE_BMP);
    if (plugin.Empty() || !plugin->GetPicture)
        throw std::runtime_error(BRISK_SAMPLE_BMP " does not load");
    for (std::size_t which = 0; which < pictures.size(); ++which) {
        std::vector<double> decode, section, release;
        // The helper's section is mapped once and reused, so its pages are touched.
        MappedSection shared;
        HLOCAL info, bits;
        Decode(plugin->GetPicture, pictures[which], &info, &bits);  // warms caches and pages
        const SIZE_T bytes = LocalSize(bits);
        if (!shared.Create(static_cast<std::uint32_t>(bytes), nullptr))
            throw std::runtime_error("no section of " + std::to_string(bytes) + " bytes");
        std::memset(shared.Data(), 1, bytes);
        LocalFree(info);
        LocalFree(bits);
        for (int i = 0; i < rounds[which]; ++i) {
            decode.push_back(Decode(plugin->GetPicture, pictures[which], &info, &bits));
            // What the helper does with the answer: the block into the section, then freed.
            Stopwatch copy;
            std::memcpy(shared.Data(), LocalLock(bits), LocalSize(bits));
            LocalUnlock(bits);
            section.push_back(copy.Seconds());
            LocalFree(info);
            Stopwatch freeing;
            LocalFree(bits);
            release.push_back(freeing.Seconds());
        }
        std::printf("decode%u=%s\nsection%u=%s\nfree%u=%s\n", unsigned(which), Join(decode).c_str(), unsigned(which),
                    Join(section).c_str(), unsigned(which), Join(release).c_str());
    }
    return 0;
}

// ---------------------------------------------------------------------------------
// The host: the helper, the bridged plug-in, the host's own parts, and the child.

std::string WritePicture(const PictureSize& size, std::string* pixels)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "bridge_bench_" OWN_WIDTH "_" + std::to_string(size.width) + "x" +
                       std::to_string(size.height) + ".bmp";
    std::string bytes = WriteBmp(PatternImage(size.width, size.height, 24, false));
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        throw std::runtime_error("cannot write " + path);
    std::fclose(file);
    std::uint32_t offset;
    std::memcpy(&offset, bytes.data() + 10, 4);  // bfOffBits
    *pixels = bytes.substr(offset);
    return path;
}

// From the process start to the helper's first answer.
double HelperStartSeconds()
{
    Stopwatch clock;
    HelperProcess helper;
    if (!helper.Start(HelperProgramPath()))
        throw std::runtime_error("the helper " + HelperProgramPath() + " does not start");
    bridge::MessageWriter release;
    release.U32(0);
    if (!helper.Post(bridge::kRelease, &release) || helper.Wait(10000) != bridge::kReleased)
        throw std::runtime_error("the helper does not answer");
    return clock.Seconds();
}

// The host's side of a bridged picture, each part alone, for a block of `bytes`.
struct HostParts {
    std::vector<double> take;        // LocalAlloc, lock and the copy out of the section
    std::vector<double> firstTouch;  // LocalAlloc and a write to every byte of the fresh block
    std::vector<double> warmCopy;    // the copy out of the section into a block already touched
};

void MeasureHostParts(std::size_t bytes, int rounds, HostParts& parts)
{
    MappedSection section;
    if (!section.Create(static_cast<std::uint32_t>(bytes), nullptr))
        throw std::runtime_error("no section of " + std::to_string(bytes) + " bytes");
    std::memset(section.Data(), 1, bytes);
    std::vector<unsigned char> touched(bytes, 2);
    for (int i = 0; i < rounds; ++i) {
        Stopwatch take;
        HLOCAL block = LocalAlloc(LMEM_MOVEABLE, bytes);
        if (!block)
            throw std::runtime_error("LocalAlloc failed");
        std::memcpy(LocalLock(block), section.Data(), bytes);
        LocalUnlock(block);
        parts.take.push_back(take.Seconds());
        LocalFree(block);

        Stopwatch touch;
        block = LocalAlloc(LMEM_MOVEABLE, bytes);
        if (!block)
            throw std::runtime_error("LocalAlloc failed");
        std::memset(LocalLock(block), 3, bytes);
        LocalUnlock(block);
        parts.firstTouch.push_back(touch.Seconds());
        LocalFree(block);

        Stopwatch copy;
        std::memcpy(touched.data(), section.Data(), bytes);
        parts.warmCopy.push_back(copy.Seconds());
    }
}

struct SizeFigures {
    std::vector<double> bridged, direct, section, release;
    HostParts host;
};

std::string Ms(double seconds, int decimals = 2)
{
    return Fixed(seconds * 1000, decimals) + " ms";
}

int RunBridged(const BenchOptions& options)
{
    const bool smoke = options.Has("smoke");
    const int rounds = options.Number("rounds", smoke ? 2 : 31);
    const int largeRounds = options.Number("large-rounds", smoke ? 1 : 9);
    const int passes = std::max(1, options.Number("passes", smoke ? 1 : 3));
    const int starts = options.Number("starts", smoke ? 2 : 15);
    std::string otherBin = options.Text("other-bin", "");
    if (!otherBin.empty() && otherBin.back() != '\\')
        otherBin += '\\';
    std::printf("## " OTHER_WIDTH " plug-ins through the bridge\n\n");
    if (otherBin.empty()) {
        std::printf("Not measured: no " OTHER_WIDTH " build to take the plug-in from (--other-bin).\n\n");
        return 0;
    }
    const std::string pluginPath = otherBin + "SampleBmp" OTHER_PLUGIN_EXTENSION;

    std::vector<double> startSeconds;
    for (int i = 0; i < starts; ++i)
        startSeconds.push_back(HelperStartSeconds());

    std::string pictures[kSizeCount];
    std::string pixels[kSizeCount];
    for (int which = 0; which < kSizeCount; ++which)
        pictures[which] = WritePicture(kSizes[which], &pixels[which]);

    SharedRef<PluginEntryPoints> plugin;
    if (BindBridged(pluginPath.c_str(), &plugin) != kBridgeBound || !plugin->GetPicture)
        throw std::runtime_error("the bridge does not bind " + pluginPath);

    std::vector<double> emptyCall;
    SizeFigures figures[kSizeCount];
    const int perPass[kSizeCount] = {std::max(1, rounds / passes), std::max(1, largeRounds / passes)};
    for (int pass = 0; pass < passes; ++pass) {
        char text[64];
        for (int i = 0; i < 20 * perPass[0]; ++i) {
            Stopwatch clock;
            if (plugin->GetPluginInfo(0, text, sizeof text) <= 0)
                throw std::runtime_error("GetPluginInfo through the bridge failed");
            emptyCall.push_back(clock.Seconds());
        }
        for (int which = 0; which < kSizeCount; ++which) {
            HLOCAL info, bits;
            // The first call of a pass warms caches and grows the section; its picture
            // is checked against the one written.
            Decode(plugin->GetPicture, pictures[which], &info, &bits);
            const std::string& expected = pixels[which];
            if (LocalSize(bits) < expected.size() || expected.size() < BitsBytes(kSizes[which]) ||
                std::memcmp(LocalLock(bits), expected.data(), expected.size()) != 0)
                throw std::runtime_error("the bridged picture differs from " + pictures[which]);
            LocalUnlock(bits);
            LocalFree(info);
            LocalFree(bits);
            for (int i = 0; i < perPass[which]; ++i) {
                figures[which].bridged.push_back(Decode(plugin->GetPicture, pictures[which], &info, &bits));
                LocalFree(info);
                LocalFree(bits);
            }
            MeasureHostParts(expected.size(), perPass[which], figures[which].host);
        }
        ChildRun direct = RunChild("\"" + otherBin + "bridge_bench.exe\" --direct --rounds=" +
                                   std::to_string(perPass[0]) + "," + std::to_string(perPass[1]) + " \"--pictures=" +
                                   pictures[0] + ";" + pictures[1] + "\"");
        if (direct.exitCode != 0)
            throw std::runtime_error("the " OTHER_WIDTH " direct run failed");
        KeyValues values = ParseKeyValues(direct.output);
        for (int which = 0; which < kSizeCount; ++which) {
            const std::string n = std::to_string(which);
            Append(figures[which].direct, Numbers(values, "decode" + n));
            Append(figures[which].section, Numbers(values, "section" + n));
            Append(figures[which].release, Numbers(values, "free" + n));
        }
    }
    for (const std::string& picture : pictures)
        DeleteFileA(picture.c_str());

    const double startMedian = Median(startSeconds);
    const double startSlowest = *std::max_element(startSeconds.begin(), startSeconds.end());
    const double roundTrip = Median(emptyCall);
    std::printf("A " OWN_WIDTH " host calls the " OTHER_WIDTH " sample bitmap reader (SampleBmp" OTHER_PLUGIN_EXTENSION
                ") through the helper\n"
                "(" BRISK_BRIDGE_PROGRAM "), against a " OTHER_WIDTH
                " host calling it in its own process; 24-bit pictures by file\n"
                "name, the picture bridged checked against the one written. The two sides take turns in\n"
                "%d passes; medians of %d calls at 640x480 and %d at 6000x4000 per side, %d helper starts.\n\n",
                passes, perPass[0] * passes, perPass[1] * passes, starts);
    MarkdownTable table({"measure", "median"});
    table.AddRow({"helper start: process created to its first answer", Ms(startMedian, 1) + " (slowest " +
                                                                           Ms(startSlowest, 1) + ")"});
    table.AddRow({"a call that does nothing, GetPluginInfo(0), through the bridge", Fixed(roundTrip * 1e6, 1) + " us"});
    for (int which = 0; which < kSizeCount; ++which) {
        const std::string size = std::to_string(kSizes[which].width) + "x" + std::to_string(kSizes[which].height);
        table.AddRow({"GetPicture " + size + ", called directly in a " OTHER_WIDTH " host",
                      Ms(Median(figures[which].direct))});
        table.AddRow({"GetPicture " + size + " through the bridge from a " OWN_WIDTH " host",
                      Ms(Median(figures[which].bridged))});
    }
    std::printf("%s\n", table.Text().c_str());

    std::printf("What a bridged picture adds, each part timed alone (medians): the round trip is the\n"
                "call that does nothing; the helper's copy is its copy of the plug-in's block into a\n"
                "section already touched, timed in the direct run after each decode; the host's block is\n"
                "LocalAlloc of the picture's size and the copy out of a section into it, which is split\n"
                "into a write to every byte of a fresh block (the first touch of its pages) and the same\n"
                "copy into a block already touched. The helper frees the plug-in's block after its answer\n"
                "is sent, while the host copies.\n\n");
    MarkdownTable parts({"picture", "bits (MB)", "direct", "round trip", "helper's copy into the section",
                         "host's block: LocalAlloc + copy", "of it: fresh pages written",
                         "of it: copy into touched pages", "direct + parts", "bridged",
                         "helper frees the plug-in's block"});
    for (int which = 0; which < kSizeCount; ++which) {
        const SizeFigures& f = figures[which];
        const double direct = Median(f.direct);
        const double sum = direct + roundTrip + Median(f.section) + Median(f.host.take);
        parts.AddRow({std::to_string(kSizes[which].width) + "x" + std::to_string(kSizes[which].height),
                      Fixed(pixels[which].size() / 1e6, 1), Ms(direct), Ms(roundTrip, 3), Ms(Median(f.section)),
                      Ms(Median(f.host.take)), Ms(Median(f.host.firstTouch)), Ms(Median(f.host.warmCopy)), Ms(sum),
                      Ms(Median(f.bridged)), Ms(Median(f.release))});
    }
    std::printf("%s\n", parts.Text().c_str());

    for (int which = 0; which < kSizeCount; ++which) {
        const double ratio = Median(figures[which].bridged) / Median(figures[which].direct);
        std::printf("Target (" OTHER_WIDTH " plug-in, bridged GetPicture of %dx%d at most %.2fx the direct call): %s "
                    "(%.2fx).\n",
                    kSizes[which].width, kSizes[which].height, kSizes[which].target,
                    ratio <= kSizes[which].target ? "met" : "MISSED", ratio);
    }
    std::printf("Target (" BRISK_BRIDGE_PROGRAM " starts under 50 ms, every start): %s (median %.1f ms, slowest %.1f "
                "ms).\n\n",
                startSlowest < 0.05 ? "met" : "MISSED", startMedian * 1000, startSlowest * 1000);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    try {
        return options.Has("direct") ? RunDirect(options) : RunBridged(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bridge_bench: %s\n", error.what());
        return 1;
    }
}
