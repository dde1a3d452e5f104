// Reading a large catalogue and building one: GetAllModules of briskspi.dll on a
// catalogue of 10 000 records, each read in a fresh process, and spilist writing
// the records of 100 plug-ins.
//
// Usage: catalogue_bench [--records=10000] [--plugins=100] [--runs=7] [--scratch=FOLDER] [--smoke]
//        catalogue_bench --child --folder=FOLDER
// Prints a Markdown section; exit code 0 only when every run read or wrote every record.
#include <windows.h>

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
#include "module_catalogue.h"
#include "noop_naming.h"
#include "process_stats.h"
#include "statistics.h"
#include "stopwatch.h"
#include "set_names.h"

namespace {

using GetAllModulesFunction = ModuleCatalogue*();

// Loads briskspi.dll from `folder` and times its first GetAllModules, which reads
// the catalogue beside it.
int RunChildRead(const BenchOptions& options)
{
    const std::string path = options.Text("folder", "") + "\\" BRISK_REGISTRY_LIBRARY;
    // Tied to user32 as hosts are, so its start-up is not counted as the registry's.
    char unused[8];
    wsprintfA(unused, "%d", 0);
    Stopwatch clock;
    HMODULE registry = LoadLibraryA(path.c_str());
    double loadSeconds = clock.Seconds();
    auto* getAllModules = registry ? reinterpret_cast<GetAllModulesFunction*>(
                                         reinterpret_cast<void (*)()>(GetProcAddress(registry, "GetAllModules")))
                                   : nullptr;
    if (!getAllModules)
        throw std::runtime_error("no GetAllModules in " + path);
    const std::size_t privateBefore = PrivateBytes();
    clock.Restart();
    ModuleCatalogue* catalogue = getAllModules();
    double readSeconds = clock.Seconds();
    const std::size_t privateAfter = PrivateBytes();
    // What the first write to a page of new memory costs here: every page the reader's
    // records fill is one.
    constexpr std::size_t kTouched = 4 * 1024 * 1024;
    char* fresh = static_cast<char*>(VirtualAlloc(nullptr, kTouched, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!fresh)
        throw std::runtime_error("no memory to touch");
    clock.Restart();
    for (std::size_t at = 0; at < kTouched; at += 4096)
        fresh[at] = 1;
    double touchSeconds = clock.Seconds();
    VirtualFree(fresh, 0, MEM_RELEASE);
    // What the platform's part of the read costs: opening the catalogue, its first
    // read (the reader's chunk size) and closing it, as the registry does, once more.
    const std::string cataloguePath = options.Text("folder", "") + "\\" BRISK_DEFAULT_CATALOGUE;
    std::vector<char> chunk(16 * 1024, 1);
    clock.Restart();
    HANDLE file = CreateFileA(cataloguePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    DWORD got = 0;
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr))
        throw std::runtime_error("cannot read " + cataloguePath);
    CloseHandle(file);
    double fileCallsSeconds = clock.Seconds();
    // What one small allocation costs on this heap: the reader makes a handful per
    // record (its texts, pattern and filter lists, the list node).
    constexpr int kAllocations = 100000;
    std::vector<char*> blocks(kAllocations);
    clock.Restart();
    for (char*& block : blocks)
        block = new char[40];
    for (char* block : blocks)
        delete[] block;
    double allocationSeconds = clock.Seconds();
    std::printf("load_ms=%.3f\nread_ms=%.3f\nrecords=%u\nallocation_ns=%.1f\nprivate_bytes=%.0f\npage_touch_us=%.2f\nfile_calls_us=%.0f\n",
                loadSeconds * 1000, readSeconds * 1000, static_cast<unsigned>(catalogue->modules.size()),
                allocationSeconds * 1e9 / kAllocations,
                privateAfter > privateBefore ? static_cast<double>(privateAfter - privateBefore) : 0.0,
                touchSeconds * 1e6 / (kTouched / 4096), fileCallsSeconds * 1e6);
    return 0;
}

struct CatalogueRead {
    int records = 0;
    std::size_t bytes = 0;
    double loadMs = 0;
    double readMs = 0;
    double processMs = 0;
    double allocationNs = 0;
    double privateBytes = 0;
    double pageTouchUs = 0;
    double fileCallsUs = 0;
};

CatalogueRead MeasureRead(const std::string& scratchRoot, int records, int runs)
{
    ScratchFolder folder(scratchRoot, "catalogue");
    CopyOneFile(BuiltFile(BRISK_REGISTRY_LIBRARY), folder / BRISK_REGISTRY_LIBRARY);
    // Records for plug-ins that are never loaded here, so their files need not exist.
    std::vector<PluginModule> catalogue;
    for (int index = 0; index < records; ++index)
        catalogue.push_back(NoopRecord(folder / ("plugins\\" + NoopCopyName(index))));
    WriteCatalogue(folder.Path(), catalogue);

    const std::string command = "\"" + BuiltFile("catalogue_bench.exe") + "\" --child \"--folder=" + folder.Path() + "\"";
    RunChild(command);  // unmeasured: brings the files into the system's cache
    std::vector<double> load, read, process, allocation, privateBytes, pageTouch, fileCalls;
    for (int run = 0; run < runs; ++run) {
        ChildRun child = RunChild(command);
        KeyValues values = ParseKeyValues(child.output);
        if (child.exitCode != 0 || NumberOf(values, "records") != records)
            throw std::runtime_error("the catalogue read did not return " + std::to_string(records) + " records");
        load.push_back(NumberOf(values, "load_ms"));
        read.push_back(NumberOf(values, "read_ms"));
        process.push_back(child.seconds * 1000);
        allocation.push_back(NumberOf(values, "allocation_ns"));
        privateBytes.push_back(NumberOf(values, "private_bytes"));
        pageTouch.push_back(NumberOf(values, "page_touch_us"));
        fileCalls.push_back(NumberOf(values, "file_calls_us"));
    }
    std::fprintf(stderr, "  catalogue of %d records: done\n", records);
    return {records, ReadWholeFile(folder / BRISK_DEFAULT_CATALOGUE).size(), Median(load), Median(read), Median(process),
            Median(allocation), Median(privateBytes), Median(pageTouch), Median(fileCalls)};
}

std::size_t CountRecords(const std::string& catalogueText)
{
    std::size_t records = 0;
    for (std::size_t at = catalogueText.find("-----\r\n"); at != std::string::npos;
         at = catalogueText.find("-----\r\n", at + 1))
        ++records;
    return records;
}

struct ListRun {
    int plugins = 0;
    double processMs = 0;
};

ListRun MeasureSpilist(const std::string& scratchRoot, int plugins, int runs)
{
    ScratchFolder folder(scratchRoot, "spilist");
    std::vector<int> indexes;
    for (int index = 0; index < plugins; ++index)
        indexes.push_back(index);
    std::string command = "\"" + BuiltFile(BRISK_SPILIST_PROGRAM) + "\"";
    for (const std::string& path : StageNoopCopies(folder.Path(), indexes))
        command += " \"" + path + "\"";
    RunChild(command, true);  // unmeasured: brings the files into the system's cache
    std::vector<double> process;
    for (int run = 0; run < runs; ++run) {
        ChildRun child = RunChild(command, true);
        if (child.exitCode != 0 || CountRecords(child.output) != static_cast<std::size_t>(plugins))
            throw std::runtime_error("spilist did not write " + std::to_string(plugins) + " records");
        process.push_back(child.seconds * 1000);
    }
    std::fprintf(stderr, "  spilist on %d plug-ins: done\n", plugins);
    return {plugins, Median(process)};
}

void PrintReport(const CatalogueRead& read, const ListRun& list, int runs)
{
    std::printf("## Catalogue read and catalogue build\n\n");
    std::printf("GetAllModules in a fresh process (median of %d processes, after one unmeasured run):\n"
                "the registry library loaded from a folder whose " BRISK_DEFAULT_CATALOGUE " holds no-op records of one\n"
                "filter with four patterns each. Process: from creating the child to its end. Allocation:\n"
                "new and delete of a 40-byte block in the same process after the read, per block. Memory:\n"
                "the growth of the process's private memory over the read, per record. Page: the first\n"
                "write to each 4 KiB page of 4 MiB of new memory, per page, after the read. File calls:\n"
                "opening the catalogue, reading its first 16 KiB and closing it, once more after the read,\n"
                "as the registry library does.\n\n",
                runs);
    MarkdownTable reading({"records", "catalogue size (KiB)", "LoadLibrary " BRISK_REGISTRY_LIBRARY " (ms)",
                           "first GetAllModules (ms)", "per record (us)", "whole process (ms)",
                           "one allocation (ns)", "memory per record (bytes)", "first write to a new page (us)",
                           "file calls (us)"});
    reading.AddRow({std::to_string(read.records), Fixed(read.bytes / 1024.0, 0), Fixed(read.loadMs, 2),
                    Fixed(read.readMs, 2), Fixed(read.readMs * 1000 / read.records, 2), Fixed(read.processMs, 1),
                    Fixed(read.allocationNs, 0), Fixed(read.privateBytes / read.records, 0),
                    Fixed(read.pageTouchUs, 2), Fixed(read.fileCallsUs, 0)});
    std::printf("%s\n", reading.Text().c_str());
    std::printf("spilist with the plug-in paths on its command line, its output captured (median of %d\n"
                "runs, after one unmeasured run); each plug-in is a copy of the no-op plug-in under its own\n"
                "name, loaded, asked for its information and freed.\n\n",
                runs);
    MarkdownTable listing({"plug-ins", "whole process (ms)", "per plug-in (ms)"});
    listing.AddRow({std::to_string(list.plugins), Fixed(list.processMs, 1), Fixed(list.processMs / list.plugins, 2)});
    std::printf("%s\n", listing.Text().c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    try {
        if (options.Has("child"))
            return RunChildRead(options);
        bool smoke = options.Has("smoke");
        int records = options.Number("records", smoke ? 50 : 10000);
        int plugins = options.Number("plugins", smoke ? 3 : 100);
        int runs = options.Number("runs", smoke ? 1 : 7);
        std::string scratchRoot = options.Text("scratch", DefaultScratchRoot());
        CatalogueRead read = MeasureRead(scratchRoot, records, runs);
        ListRun list = MeasureSpilist(scratchRoot, plugins, runs);
        PrintReport(read, list, runs);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "catalogue_bench: %s\n", error.what());
        return 1;
    }
}
