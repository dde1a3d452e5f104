// Start-up to the first opened picture: a host that loads every plug-in of its
// folder (the status quo), the same host whose folder holds only BriskImp.spi with a
// catalogue of the same plug-ins, and as the floor the host whose folder holds only
// the one plug-in that reads the picture. Each start-up is a fresh host process.
//
// Usage: startup_bench [--counts=10,100,1000] [--runs=5] [--positions=last,middle]
//                      [--profile-counts=10000] [--scratch=FOLDER] [--smoke]
// --profile-counts: catalogue sizes measured step by step only, without the status quo.
// Prints a Markdown section; exit code 0 only when every host run decoded the picture
// through the expected plug-in.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_options.h"
#include "bench_stage.h"
#include "child_run.h"
#include "key_values.h"
#include "markdown_table.h"
#include "noop_naming.h"
#include "statistics.h"
#include "set_names.h"

namespace {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

struct HostSetup {
    std::string label;
    std::string folder;
    std::string expectedReader;
};

// The medians of one host setup's runs.
struct HostFigures {
    double launchMs = 0;
    double mainMs = 0;
    double loadMs = 0;
    double probeMs = 0;
    double decodeMs = 0;
    double libraries = 0;
    double privateKib = 0;
};

struct HostSamples {
    std::vector<double> launchMs, mainMs, loadMs, probeMs, decodeMs, libraries, privateKib;

    void Add(const KeyValues& values)
    {
        launchMs.push_back(NumberOf(values, "launch_ms"));
        mainMs.push_back(NumberOf(values, "main_ms"));
        loadMs.push_back(NumberOf(values, "load_ms"));
        probeMs.push_back(NumberOf(values, "probe_ms"));
        decodeMs.push_back(NumberOf(values, "decode_ms"));
        libraries.push_back(NumberOf(values, "libraries"));
        privateKib.push_back(NumberOf(values, "private_kib"));
    }
    HostFigures Medians() const
    {
        return {Median(launchMs), Median(mainMs),    Median(loadMs),    Median(probeMs),
                Median(decodeMs), Median(libraries), Median(privateKib)};
    }
};

// The status quo's plug-in folder: `count` plug-ins, the bitmap reader at
// `rightIndex` and no-op copies around it; the BriskImp folder with a catalogue of
// the same plug-ins in the same order; the floor folder with the reader alone.
std::vector<HostSetup> BuildScene(const std::string& root, int count, int rightIndex)
{
    const std::string plugins = root + "\\plugins";
    const std::string brisk = root + "\\brisk";
    const std::string floor = root + "\\floor";
    MakeFolder(plugins);
    MakeFolder(brisk);
    MakeFolder(floor);
    const std::string readerName = NoopCopyName(rightIndex);
    std::vector<PluginModule> records;
    for (int index = 0; index < count; ++index) {
        if (index == rightIndex) {
            CopyOneFile(BuiltFile(BRISK_SAMPLE_BMP), plugins + "\\" + readerName);
            records.push_back(QueriedRecord(plugins + "\\" + readerName));
        } else {
            records.push_back(NoopRecord(StageNoopCopies(plugins, {index}).front()));
        }
    }
    StageFrontPlugin(brisk);
    WriteCatalogue(brisk, records);
    CopyOneFile(BuiltFile(BRISK_SAMPLE_BMP), floor + "\\" + readerName);
    return {{"status quo", plugins, readerName}, {"BriskImp", brisk, BRISK_IMAGE_FRONT}, {"floor", floor, readerName}};
}

KeyValues RunHost(const HostSetup& setup, const std::string& picture)
{
    ChildRun run = RunChild("\"" + BuiltFile("startup_host.exe") + "\" \"" + setup.folder + "\" \"" + picture +
                            "\" {launched}");
    KeyValues values = ParseKeyValues(run.output);
    if (run.exitCode != 0 || values["reader"] != setup.expectedReader)
        throw std::runtime_error(setup.label + " host failed (exit code " + std::to_string(run.exitCode) +
                                 ", reader \"" + values["reader"] + "\")");
    return values;
}

// The steps startup_profile times, in its order, with their headings. References are
// loads that BriskImp's start does not make; they stay out of the sum.
struct ProfileStep {
    const char* key;
    const char* heading;
    bool reference;
    bool ownWork;  // the project's own work at the first call
};
const std::vector<ProfileStep> kProfileSteps = {
    {"nothing_ms", "reference: load a library that does nothing (no runtime)", true, false},
    {"noop_ms", "reference: load noop" BRISK_PLUGIN_EXTENSION " (built as ours are, does nothing)", true, false},
    {"archive_front_ms", "reference: load " BRISK_ARCHIVE_FRONT, true, false},
    {"front_ms", "load " BRISK_IMAGE_FRONT, false, false},
    {"registry_ms", "load " BRISK_REGISTRY_LIBRARY, false, false},
    {"catalogue_ms", "read catalogue (GetAllModules)", false, true},
    {"table_ms", "module set and information table (first GetPluginInfo)", false, true},
    {"information_ms", "read information table", false, true},
    {"reader_ms", "load the reader", false, false},
    {"probe_ms", "IsSupported", false, true},
    {"decode_ms", "GetPicture", false, false},
};

struct SceneResult {
    int count = 0;
    std::string position;
    std::vector<HostFigures> figures;        // status quo, BriskImp, floor
    std::vector<std::string> libraryNames;  // of the last start of each setup; empty when too many
    std::vector<double> profile;            // medians of kProfileSteps
};

std::vector<double> ProfileBriskImp(const HostSetup& brisk, const std::string& readerPath, const std::string& picture,
                                    int runs)
{
    const std::string command = "\"" + BuiltFile("startup_profile.exe") + "\" \"" + brisk.folder + "\" \"" +
                                readerPath + "\" \"" + picture + "\"";
    std::vector<std::vector<double>> samples(kProfileSteps.size());
    for (int run = 0; run < runs; ++run) {
        ChildRun child = RunChild(command);
        KeyValues values = ParseKeyValues(child.output);
        if (child.exitCode != 0)
            throw std::runtime_error("the step-by-step BriskImp start failed");
        for (std::size_t step = 0; step < kProfileSteps.size(); ++step)
            samples[step].push_back(NumberOf(values, kProfileSteps[step].key));
    }
    std::vector<double> medians;
    for (const std::vector<double>& sample : samples)
        medians.push_back(Median(sample));
    return medians;
}

SceneResult MeasureScene(const std::string& scratchRoot, const std::string& picture, int count,
                         const std::string& position, int runs)
{
    int rightIndex = position == "last" ? count - 1 : count / 2;
    ScratchFolder scene(scratchRoot, "startup-" + std::to_string(count) + "-" + position);
    std::vector<HostSetup> setups = BuildScene(scene.Path(), count, rightIndex);
    // One unmeasured start each, so every setup finds its files in the system's cache.
    for (const HostSetup& setup : setups)
        RunHost(setup, picture);
    std::vector<HostSamples> samples(setups.size());
    std::vector<std::string> libraryNames(setups.size());
    for (int round = 0; round < runs; ++round) {
        for (std::size_t step = 0; step < setups.size(); ++step) {
            std::size_t which = (round + step) % setups.size();
            KeyValues values = RunHost(setups[which], picture);
            samples[which].Add(values);
            libraryNames[which] = values["library_names"];
        }
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, " %d plug-ins, reader %s: done\n", count, position.c_str());
    SceneResult result{count, position, {}, libraryNames, {}};
    for (const HostSamples& sample : samples)
        result.figures.push_back(sample.Medians());
    result.profile = ProfileBriskImp(setups[1], scene / ("plugins\\" + NoopCopyName(rightIndex)), picture, runs);
    return result;
}

// Only the step-by-step BriskImp start, for catalogues too large to lay out the status
// quo's folder: `count` records with the reader last. The other records name no-op
// copies that are never loaded (their patterns match no picture), so they are not laid
// out.
SceneResult ProfileOnlyScene(const std::string& scratchRoot, const std::string& picture, int count, int runs)
{
    ScratchFolder scene(scratchRoot, "startup-" + std::to_string(count) + "-profile");
    const std::string plugins = scene / "plugins";
    const std::string brisk = scene / "brisk";
    MakeFolder(plugins);
    MakeFolder(brisk);
    const std::string readerPath = plugins + "\\" + NoopCopyName(count - 1);
    CopyOneFile(BuiltFile(BRISK_SAMPLE_BMP), readerPath);
    std::vector<PluginModule> records;
    for (int index = 0; index + 1 < count; ++index)
        records.push_back(NoopRecord(plugins + "\\" + NoopCopyName(index)));
    records.push_back(QueriedRecord(readerPath));
    StageFrontPlugin(brisk);
    WriteCatalogue(brisk, records);
    SceneResult result{count, "last", {}, {}, {}};
    result.profile = ProfileBriskImp({"BriskImp", brisk, BRISK_IMAGE_FRONT}, readerPath, picture, runs);
    std::fprintf(stderr, " %d records, step by step: done\n", count);
    return result;
}

double OwnWork(const SceneResult& scene)
{
    double sum = 0;
    for (std::size_t step = 0; step < scene.profile.size(); ++step)
        sum += kProfileSteps[step].ownWork ? scene.profile[step] : 0;
    return sum;
}

std::string PositionText(const SceneResult& scene)
{
    int index = scene.position == "last" ? scene.count - 1 : scene.count / 2;
    return scene.position + " (" + std::to_string(index + 1) + " of " + std::to_string(scene.count) + ")";
}

std::string KibOf(const std::string& file)
{
    return Fixed(FileSize(BuiltFile(file)) / 1024.0, 0) + " KiB";
}

void PrintReport(const std::vector<SceneResult>& scenes, int runs)
{
    std::vector<SceneResult> hosted;
    for (const SceneResult& scene : scenes) {
        if (!scene.figures.empty())
            hosted.push_back(scene);
    }
    static const char* const kSetups[] = {"status quo", "BriskImp", "floor"};
    std::printf("## Start-up to the first opened picture\n\n");
    std::printf("The host (startup_host.exe) loads every " BRISK_PLUGIN_EXTENSION " file of its folder in name order, keeps the\n"
                "image filters, reads each one's whole information table, asks them in turn whether they\n"
                "read the picture (name and first 2 KB) and has the first that accepts decode it (a %dx%d,\n"
                "24-bit bitmap). It imports user32, gdi32, shlwapi, shell32, comctl32 and ole32 as GUI\n"
                "hosts do, so these are loaded before main() in every setup. Plug-ins: the sample bitmap reader (" BRISK_SAMPLE_BMP ", %s) under the\n"
                "name of its position, and copies of the no-op plug-in (noop" BRISK_PLUGIN_EXTENSION ", %s) named p0000" BRISK_PLUGIN_EXTENSION " and\n"
                "onwards, each with four patterns of its own.\n\n"
                "- status quo: the host's folder holds all the plug-ins.\n"
                "- BriskImp: the folder holds " BRISK_IMAGE_FRONT " (%s) and " BRISK_REGISTRY_LIBRARY " (%s), whose catalogue lists\n"
                "  the same plug-ins in the same order.\n"
                "- floor: the folder holds only the bitmap reader.\n\n"
                "A fresh host process per start; each figure is the median of %d starts (the setups take\n"
                "turns), after one unmeasured start of each. Launch: from just before the benchmark creates\n"
                "the host process to the decoded picture, so it includes the process start. main: from the\n"
                "host's main() to the decoded picture, split into loading the plug-ins with their\n"
                "information tables (for BriskImp this reads the catalogue), probing (for BriskImp this\n"
                "loads the reader) and decoding. Libraries: modules loaded after main() began, system\n"
                "libraries included. Private memory: the process's private commit at the decoded picture\n"
                "(GetProcessMemoryInfo; Wine fills PagefileUsage, which Windows documents as the same\n"
                "figure as PrivateUsage, and leaves PrivateUsage 0).\n\n",
                kPictureWidth, kPictureHeight, KibOf(BRISK_SAMPLE_BMP).c_str(), KibOf("noop" BRISK_PLUGIN_EXTENSION).c_str(),
                KibOf(BRISK_IMAGE_FRONT).c_str(), KibOf(BRISK_REGISTRY_LIBRARY).c_str(), runs);
    MarkdownTable figures({"plug-ins", "reader at", "host", "launch to picture (ms)", "main to picture (ms)",
                           "loading (ms)", "probing (ms)", "decoding (ms)", "libraries loaded",
                           "private memory (KiB)"});
    for (const SceneResult& scene : scenes) {
        for (std::size_t setup = 0; setup < scene.figures.size(); ++setup) {
            const HostFigures& f = scene.figures[setup];
            figures.AddRow({std::to_string(scene.count), PositionText(scene), kSetups[setup], Fixed(f.launchMs, 1),
                            Fixed(f.mainMs, 1), Fixed(f.loadMs, 1), Fixed(f.probeMs, 1), Fixed(f.decodeMs, 1),
                            Fixed(f.libraries, 0), Fixed(f.privateKib, 0)});
        }
    }
    std::printf("%s\n", figures.Text().c_str());
    if (!hosted.empty()) {
        const SceneResult& last = hosted.back();
        std::printf("Libraries loaded at %d plug-ins, reader %s: BriskImp: %s; floor: %s.\n\n", last.count,
                    last.position.c_str(), last.libraryNames[1].c_str(), last.libraryNames[2].c_str());
    }

    MarkdownTable ratios({"plug-ins", "reader at", "launch: status quo / BriskImp", "main: status quo / BriskImp",
                          "libraries: status quo / BriskImp", "memory: status quo / BriskImp",
                          "launch: BriskImp / floor", "main: BriskImp / floor"});
    for (const SceneResult& scene : hosted) {
        const HostFigures& quo = scene.figures[0];
        const HostFigures& brisk = scene.figures[1];
        const HostFigures& floor = scene.figures[2];
        ratios.AddRow({std::to_string(scene.count), PositionText(scene), Ratio(quo.launchMs / brisk.launchMs),
                       Ratio(quo.mainMs / brisk.mainMs), Ratio(quo.libraries / brisk.libraries),
                       Ratio(quo.privateKib / brisk.privateKib), Ratio(brisk.launchMs / floor.launchMs),
                       Ratio(brisk.mainMs / floor.mainMs)});
    }
    std::printf("%s\n", ratios.Text().c_str());

    std::printf("Where BriskImp's start goes: the same work step by step in a fresh process\n"
                "(startup_profile.exe; median of %d starts per row), with the same system libraries\n"
                "loaded before main(). The libraries " BRISK_IMAGE_FRONT " loads on its own are loaded first as\n"
                "steps of their own, so each later step shows only its own work. The reference loads\n"
                "come first and stay out of the sum; own work is what the project does at the first\n"
                "calls (catalogue, module set, information table, probe). The largest row has no\n"
                "status quo beside it: its catalogue lists no-op copies that are never loaded, and only\n"
                "the reader, last, exists. All times in ms.\n\n",
                runs);
    std::vector<std::string> header = {"plug-ins", "reader at"};
    for (const ProfileStep& step : kProfileSteps)
        header.push_back(step.heading);
    header.push_back("sum");
    header.push_back("own work");
    MarkdownTable profile(header);
    for (const SceneResult& scene : scenes) {
        std::vector<std::string> row = {std::to_string(scene.count), PositionText(scene)};
        double sum = 0;
        for (std::size_t step = 0; step < scene.profile.size(); ++step) {
            row.push_back(Fixed(scene.profile[step], 2));
            sum += kProfileSteps[step].reference ? 0 : scene.profile[step];
        }
        row.push_back(Fixed(sum, 2));
        row.push_back(Fixed(OwnWork(scene), 2));
        profile.AddRow(row);
    }
    std::printf("%s\n", profile.Text().c_str());

    auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    int largest = 0;
    for (const SceneResult& scene : hosted)
        largest = scene.count > largest ? scene.count : largest;
    std::printf("Targets at %d plug-ins (status quo / BriskImp at least 20x; BriskImp / floor at most 2x):\n\n",
                largest);
    for (const SceneResult& scene : hosted) {
        if (scene.count != largest)
            continue;
        const HostFigures& quo = scene.figures[0];
        const HostFigures& brisk = scene.figures[1];
        const HostFigures& floor = scene.figures[2];
        std::printf("- reader %s: launch %s faster (%s), main %s faster (%s); launch %s the floor (%s), "
                    "main %s the floor (%s)\n",
                    scene.position.c_str(), Ratio(quo.launchMs / brisk.launchMs).c_str(),
                    verdict(quo.launchMs >= 20 * brisk.launchMs), Ratio(quo.mainMs / brisk.mainMs).c_str(),
                    verdict(quo.mainMs >= 20 * brisk.mainMs), Ratio(brisk.launchMs / floor.launchMs).c_str(),
                    verdict(brisk.launchMs <= 2 * floor.launchMs), Ratio(brisk.mainMs / floor.mainMs).c_str(),
                    verdict(brisk.mainMs <= 2 * floor.mainMs));
    }
    std::printf("\n");

    // Main to picture against the floor with the reader last: 1.5x at 100, 2x at 1000.
    std::string floorTarget;
    for (const SceneResult& scene : hosted) {
        double bound = scene.count == 100 ? 1.5 : scene.count == 1000 ? 2.0 : 0;
        if (bound == 0 || scene.position != "last")
            continue;
        double ratio = scene.figures[1].mainMs / scene.figures[2].mainMs;
        floorTarget += (floorTarget.empty() ? "" : ", ") + Ratio(ratio) + " at " + std::to_string(scene.count) +
                       " (" + verdict(ratio <= bound) + ")";
    }
    if (!floorTarget.empty())
        std::printf("Target (main to picture, BriskImp / floor, reader last: at most 1.5x at 100 plug-ins, 2x at "
                    "1000): %s.\n\n",
                    floorTarget.c_str());
    std::string ownTarget;
    for (const SceneResult& scene : scenes) {
        double bound = scene.count == 1000 ? 1.0 : scene.count == 10000 ? 10.0 : 0;
        if (bound == 0 || scene.position != "last")
            continue;
        ownTarget += (ownTarget.empty() ? "" : ", ") + Fixed(OwnWork(scene), 2) + " ms at " +
                     std::to_string(scene.count) + " (" + verdict(OwnWork(scene) <= bound) + ")";
    }
    if (!ownTarget.empty())
        std::printf("Target (own work at the first calls, reader last: at most 1 ms at 1000 records, 10 ms at "
                    "10000): %s.\n\n",
                    ownTarget.c_str());
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        items.push_back(text.substr(start, comma - start));
    items.push_back(text.substr(start));
    return items;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    bool smoke = options.Has("smoke");
    std::vector<int> counts = options.Numbers("counts", smoke ? std::vector<int>{4} : std::vector<int>{10, 100, 1000});
    int runs = options.Number("runs", smoke ? 1 : 5);
    std::vector<std::string> positions = Split(options.Text("positions", "last,middle"));
    std::vector<int> profileCounts =
        options.Numbers("profile-counts", smoke ? std::vector<int>{8} : std::vector<int>{10000});
    try {
        ScratchFolder scratch(options.Text("scratch", DefaultScratchRoot()), "startup");
        const std::string picture = scratch / "picture.bmp";
        WritePicture(picture, kPictureWidth, kPictureHeight);
        std::vector<SceneResult> scenes;
        for (int count : counts) {
            for (const std::string& position : positions)
                scenes.push_back(MeasureScene(scratch.Path(), picture, count, position, runs));
        }
        for (int count : profileCounts)
            scenes.push_back(ProfileOnlyScene(scratch.Path(), picture, count, runs));
        PrintReport(scenes, runs);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_bench: %s\n", error.what());
        return 1;
    }
}
