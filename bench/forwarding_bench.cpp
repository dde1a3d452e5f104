// What the front plug-in adds to a call: IsSupported and GetPicture through
// BriskImp.spi against the same calls made directly into the catalogued plug-in,
// in one process, on the no-op plug-in and on the sample bitmap reader decoding a
// real picture. The catalogue holds only the plug-in measured.
//
// Usage: forwarding_bench [--rounds=41] [--scratch=FOLDER] [--smoke]
//                         [--front-from=FOLDER] [--no-op-only]
// --front-from stages the BriskImp and registry library of another build (for a side
// by side with other sources); --no-op-only leaves out the bitmap reader.
// Prints a Markdown section; exit code 0 only when every call succeeded.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_options.h"
#include "bench_stage.h"
#include "image_plugin.h"
#include "markdown_table.h"
#include "noop_naming.h"
#include "per_call_timing.h"
#include "plugin_interface.h"
#include "set_names.h"

namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

struct PictureHead {
    char bytes[2048] = {};
};

struct ForwardingResult {
    std::string plugin;
    std::string call;
    PerCallPair figures;  // direct, through BriskImp
};

// Calls GetPicture and frees what it returned; throws when it fails or, for a real
// decoder, returns no picture.
void DecodeOnce(GetPictureFunction* getPicture, const std::string& file, bool expectPicture)
{
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    int result = getPicture(file.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0);
    bool pictured = info && bits;
    if (info)
        LocalFree(info);
    if (bits)
        LocalFree(bits);
    if (result != kSpiSuccess || pictured != expectPicture)
        throw std::runtime_error("GetPicture failed on " + file);
}

// `folder` holds BriskImp.spi, briskspi.dll, a catalogue naming only `pluginPath`,
// the plug-in and `file`, which the plug-in accepts.
std::vector<ForwardingResult> MeasurePlugin(const std::string& label, const std::string& folder,
                                            const std::string& pluginPath, const std::string& file,
                                            bool realDecoder, int rounds)
{
    PictureHead head;
    ReadFileStart(file, sizeof head.bytes).copy(head.bytes, sizeof head.bytes);
    const ULONG_PTR dw = reinterpret_cast<ULONG_PTR>(head.bytes);

    ImagePlugin front(folder + "\\" BRISK_IMAGE_FRONT);
    RequireImageEntryPoints(front, BRISK_IMAGE_FRONT);
    front.Information(0);
    if (front.IsSupported(file.c_str(), dw) != 1)
        throw std::runtime_error("BriskImp does not accept " + file);
    // The front plug-in has loaded the plug-in; this takes one more reference to it.
    ImagePlugin direct(pluginPath);
    RequireImageEntryPoints(direct, pluginPath);
    if (direct.IsSupported(file.c_str(), dw) == 0)
        throw std::runtime_error(label + " does not accept " + file);

    long refused = 0;
    PerCallPair probe = ComparePerCall([&] { refused += direct.IsSupported(file.c_str(), dw) == 0; },
                                       [&] { refused += front.IsSupported(file.c_str(), dw) == 0; }, rounds);
    if (refused != 0)
        throw std::runtime_error(file + " was refused during the measurement");
    // Batches of a real decode hold several calls, so one late call weighs less.
    PerCallPair decode = ComparePerCall([&] { DecodeOnce(direct.GetPicture, file, realDecoder); },
                                        [&] { DecodeOnce(front.GetPicture, file, realDecoder); }, rounds, 0.05);
    return {{label, "IsSupported", probe}, {label, "GetPicture", decode}};
}

void PrintReport(const std::vector<ForwardingResult>& results, int rounds)
{
    std::printf("## Forwarding cost\n\n");
    std::printf("One process; the same plug-in called directly and through " BRISK_IMAGE_FRONT ", whose catalogue\n"
                "holds only that plug-in. Per call: the median of %d alternating batches of equal size\n"
                "(each at least 5 ms, 50 ms for GetPicture), divided by the calls in a batch. The bitmap\n"
                "reader decodes a %dx%d, 24-bit picture from its file each time; GetPicture's handles are\n"
                "freed inside the timed loop on both sides.\n\n",
                rounds, kPictureWidth, kPictureHeight);
    MarkdownTable table({"plug-in", "call", "direct (ns)", "through BriskImp (ns)", "added (ns)",
                         "ratio (paired)", "overhead (paired)"});
    for (const ForwardingResult& result : results) {
        double direct = result.figures.firstNs;
        double front = result.figures.secondNs;
        double ratio = result.figures.pairedRatio;
        table.AddRow({result.plugin, result.call, Fixed(direct, 0), Fixed(front, 0), Fixed(front - direct, 0),
                      Ratio(ratio), Fixed((ratio - 1) * 100, 2) + "%"});
    }
    std::printf("%s\n", table.Text().c_str());
    std::printf("Direct and through BriskImp: medians of the batches. Ratio (paired): the median of the\n"
                "per-round ratios of the two batches; overhead = ratio - 1. On a real decode the\n"
                "forwarding is smaller than the decode's own spread from batch to batch, so the overhead\n"
                "there may come out slightly negative; the no-op GetPicture row shows the forwarding\n"
                "cost itself.\n\n");
    for (const ForwardingResult& result : results) {
        if (result.plugin.find("bitmap") != std::string::npos && result.call == "GetPicture") {
            double overhead = (result.figures.pairedRatio - 1) * 100;
            std::printf("Target (overhead under 5%% of a direct call on a real decode): %s (%s%%).\n\n",
                        overhead < 5 ? "met" : "MISSED", Fixed(overhead, 2).c_str());
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    bool smoke = options.Has("smoke");
    int rounds = options.Number("rounds", smoke ? 3 : 41);
    try {
        ScratchFolder scratch(options.Text("scratch", DefaultScratchRoot()), "forwarding");
        const std::string frontFrom = options.Text("front-from", "");
        std::vector<ForwardingResult> results;
        {
            const std::string folder = scratch / "noop";
            MakeFolder(folder);
            StageFrontPlugin(folder, frontFrom);
            std::string plugin = StageNoopCopies(folder, {0}).front();
            WriteCatalogue(folder, {NoopRecord(plugin)});
            std::string file = folder + "\\" + NoopFileName("picture", NoopStem(plugin), 0);
            WriteWholeFile(file, "");
            for (const ForwardingResult& result :
                 MeasurePlugin("no-op", folder, plugin, file, false, rounds))
                results.push_back(result);
        }
        if (!options.Has("no-op-only")) {
            const std::string folder = scratch / "bitmap";
            MakeFolder(folder);
            StageFrontPlugin(folder, frontFrom);
            std::string plugin = folder + "\\" BRISK_SAMPLE_BMP;
            CopyOneFile(BuiltFile(BRISK_SAMPLE_BMP), plugin);
            WriteCatalogue(folder, {QueriedRecord(plugin)});
            std::string file = folder + "\\picture.bmp";
            WritePicture(file, kPictureWidth, kPictureHeight);
            for (const ForwardingResult& result :
                 MeasurePlugin("bitmap reader (SampleBmp)", folder, plugin, file, true, rounds))
                results.push_back(result);
        }
        PrintReport(results, rounds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "forwarding_bench: %s\n", error.what());
        return 1;
    }
}
