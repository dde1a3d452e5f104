// What IsSupported of BriskImp.spi costs as the catalogue grows (1 to 1 000 records
// of four patterns each): for a name that matches the last record's last pattern,
// for names that match no record, and for a rejected name asked again. Each
// catalogue size is measured in a fresh process (a child run of this program).
//
// Usage: probe_bench [--counts=1,10,100,1000] [--rounds=15] [--scratch=FOLDER] [--smoke]
//        probe_bench --child --folder=FOLDER --records=N --rounds=R
// Prints a Markdown section; exit code 0 only when every probe answered as expected
// and the repeated rejected name reached no plug-in.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_options.h"
#include "bench_stage.h"
#include "child_run.h"
#include "image_plugin.h"
#include "key_values.h"
#include "markdown_table.h"
#include "noop_naming.h"
#include "per_call_timing.h"
#include "process_stats.h"
#include "set_names.h"

namespace {

// Counts the probes a measurement made and the answers that were not the expected one.
struct ProbeTally {
    long probes = 0;
    long unexpected = 0;
};

int RunChildMeasurement(const BenchOptions& options)
{
    const std::string folder = options.Text("folder", "");
    const int records = options.Number("records", 1);
    const int rounds = options.Number("rounds", 15);
    ImagePlugin front(folder + "\\" BRISK_IMAGE_FRONT);
    RequireImageEntryPoints(front, BRISK_IMAGE_FRONT);
    if (front.Information(0) != "00IN")
        throw std::runtime_error(BRISK_IMAGE_FRONT " does not answer");

    // Names are full paths, as hosts pass them; no file needs to exist for a probe.
    const std::string lastStem = NoopStem(NoopCopyName(records - 1));
    const std::string lastName = folder + "\\" + NoopFileName("picture", lastStem, kNoopPatternCount - 1);
    const std::string noneNames[2] = {folder + "\\picture.none", folder + "\\picture.nothing"};
    const std::string rejectedName = folder + "\\" + NoopFileName("rejected", lastStem, kNoopPatternCount - 1);

    ProbeTally last;
    long before = NoopCallsInProcess();
    double lastNs = NanosecondsPerCall([&] {
        ++last.probes;
        last.unexpected += front.IsSupported(lastName.c_str(), 0) != 1;
    }, rounds);
    long lastCalls = NoopCallsInProcess() - before;

    // Two names in turn, so that no probe is answered from the last rejected name.
    ProbeTally none;
    before = NoopCallsInProcess();
    double noneNs = NanosecondsPerCall([&] {
        none.unexpected += front.IsSupported(noneNames[none.probes++ % 2].c_str(), 0) != 0;
    }, rounds);
    long noneCalls = NoopCallsInProcess() - before;

    // The rejected name matches the last record, so its first probe asks that plug-in.
    before = NoopCallsInProcess();
    long firstRejection = front.IsSupported(rejectedName.c_str(), 0);
    long firstRejectCalls = NoopCallsInProcess() - before;
    std::size_t modulesBefore = LoadedModuleCount();
    ProbeTally repeated;
    before = NoopCallsInProcess();
    double repeatNs = NanosecondsPerCall([&] {
        ++repeated.probes;
        repeated.unexpected += front.IsSupported(rejectedName.c_str(), 0) != 0;
    }, rounds);
    long repeatCalls = NoopCallsInProcess() - before;
    long modulesLoaded = static_cast<long>(LoadedModuleCount()) - static_cast<long>(modulesBefore);

    // The platform's pattern match alone, which the probe calls once per pattern tried.
    const std::string pattern = "*." + lastStem + "a";
    long matched = 0;
    double matchNs = NanosecondsPerCall([&] { matched += PathMatchSpecA(noneNames[0].c_str(), pattern.c_str()); },
                                        rounds);

    std::printf("records=%d\n", records);
    std::printf("match_ns=%.1f\nmatch_unexpected=%ld\n", matchNs, matched);
    std::printf("last_ns=%.1f\nlast_calls_per_probe=%.3f\nlast_unexpected=%ld\n", lastNs,
                static_cast<double>(lastCalls) / last.probes, last.unexpected);
    std::printf("none_ns=%.1f\nnone_calls=%ld\nnone_unexpected=%ld\n", noneNs, noneCalls, none.unexpected);
    std::printf("first_reject_result=%ld\nfirst_reject_calls=%ld\n", firstRejection, firstRejectCalls);
    std::printf("repeat_ns=%.1f\nrepeat_probes=%ld\nrepeat_calls=%ld\nrepeat_unexpected=%ld\nrepeat_modules_loaded=%ld\n",
                repeatNs, repeated.probes, repeatCalls, repeated.unexpected, modulesLoaded);
    return 0;
}

KeyValues MeasureCatalogue(const std::string& scratchRoot, int records, int rounds)
{
    ScratchFolder folder(scratchRoot, "probe-" + std::to_string(records));
    StageFrontPlugin(folder.Path());
    std::vector<int> indexes;
    for (int index = 0; index < records; ++index)
        indexes.push_back(index);
    std::vector<PluginModule> catalogue;
    for (const std::string& path : StageNoopCopies(folder.Path(), indexes))
        catalogue.push_back(NoopRecord(path));
    WriteCatalogue(folder.Path(), catalogue);

    ChildRun run = RunChild("\"" + BuiltFile("probe_bench.exe") + "\" --child \"--folder=" + folder.Path() +
                            "\" --records=" + std::to_string(records) + " --rounds=" + std::to_string(rounds));
    if (run.exitCode != 0)
        throw std::runtime_error("the probe measurement of " + std::to_string(records) + " records failed");
    KeyValues values = ParseKeyValues(run.output);
    bool sound = NumberOf(values, "last_unexpected") == 0 && NumberOf(values, "last_calls_per_probe") == 1 &&
                 NumberOf(values, "none_unexpected") == 0 && NumberOf(values, "none_calls") == 0 &&
                 NumberOf(values, "first_reject_result") == 0 && NumberOf(values, "first_reject_calls") == 1 &&
                 NumberOf(values, "repeat_unexpected") == 0 && NumberOf(values, "repeat_calls") == 0 &&
                 NumberOf(values, "repeat_modules_loaded") == 0 && NumberOf(values, "match_unexpected") == 0;
    if (!sound)
        throw std::runtime_error("unexpected probe answers or plug-in calls with " + std::to_string(records) +
                                 " records:\n" + run.output);
    std::fprintf(stderr, "  %d records: done\n", records);
    return values;
}

void PrintReport(const std::vector<KeyValues>& results, int rounds)
{
    std::printf("## Probe cost as the catalogue grows\n\n");
    std::printf("IsSupported of " BRISK_IMAGE_FRONT " with a catalogue of no-op plug-ins, four patterns each\n"
                "(\"*.p0042a\" to \"*.p0042d\"); names are full paths. Per probe: the median of %d batches of\n"
                "at least 5 ms. Last record: the name matches the last pattern of the last record, whose\n"
                "plug-in is asked and accepts. None: two names that match no record, in turn, so every\n"
                "probe walks all patterns. Repeated rejected: a name that matches the last record but\n"
                "that its plug-in refuses, probed again after the first refusal. Plug-in calls are counted\n"
                "inside the no-op plug-ins. One PathMatchSpecA: the platform's match of a name that\n"
                "matches no record against one pattern, called alone.\n\n",
                rounds);
    MarkdownTable table({"records", "patterns", "last record (ns)", "none (ns)", "none, per pattern (ns)",
                         "one PathMatchSpecA (ns)", "repeated rejected (ns)",
                         "plug-in calls per last-record probe", "plug-in calls, none",
                         "plug-in calls, repeated rejected"});
    for (const KeyValues& values : results) {
        int records = static_cast<int>(NumberOf(values, "records"));
        table.AddRow({std::to_string(records), std::to_string(records * kNoopPatternCount),
                      Fixed(NumberOf(values, "last_ns"), 0), Fixed(NumberOf(values, "none_ns"), 0),
                      Fixed(NumberOf(values, "none_ns") / (records * kNoopPatternCount), 0),
                      Fixed(NumberOf(values, "match_ns"), 0),
                      Fixed(NumberOf(values, "repeat_ns"), 0), Fixed(NumberOf(values, "last_calls_per_probe"), 0),
                      Fixed(NumberOf(values, "none_calls"), 0),
                      Fixed(NumberOf(values, "repeat_calls"), 0) + " in " +
                          Fixed(NumberOf(values, "repeat_probes"), 0) + " probes"});
    }
    std::printf("%s\n", table.Text().c_str());
    std::printf("Target (a repeated rejected name calls no plug-in): met at every size (the run fails otherwise).\n\n");
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    try {
        if (options.Has("child"))
            return RunChildMeasurement(options);
        bool smoke = options.Has("smoke");
        std::vector<int> counts =
            options.Numbers("counts", smoke ? std::vector<int>{1, 5} : std::vector<int>{1, 10, 100, 1000});
        int rounds = options.Number("rounds", smoke ? 3 : 15);
        std::string scratchRoot = options.Text("scratch", DefaultScratchRoot());
        std::vector<KeyValues> results;
        for (int records : counts)
            results.push_back(MeasureCatalogue(scratchRoot, records, rounds));
        PrintReport(results, rounds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "probe_bench: %s\n", error.what());
        return 1;
    }
}
