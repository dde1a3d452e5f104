// A host that decodes from several threads at once, each thread its own picture
// (IsSupported on its file, then GetPicture, the handles freed), with 1, 2 and 4
// threads: the status quo, where the host calls the plug-ins directly, against the
// same host through BriskImp.spi. Two picture sets: four kinds, read by four copies of
// the sample bitmap reader (one each), and all of one kind (one copy reads them all).
// Every picture decoded is checked against the thread's own picture, so a request
// sent to the wrong candidate or a lost answer fails the run.
//
// With --forwarding=FILE (this run's forwarding_bench output) and --before=FILE (a
// report of the single-threaded sources), it also sets the per-call forwarding cost
// on one thread beside the one that report holds. With --paired-before=FILES and
// --paired-now=FILES (";"-separated forwarding_bench outputs of the earlier sources'
// front plug-in and of this build's, run in turns in this run) it sets the two side by
// side and judges the target on them.
//
// Usage: threads_bench [--threads=1,2,4] [--rounds=31] [--window-ms=100]
//                      [--pictures=N] [--scratch=FOLDER] [--smoke] [--verbose]
//                      [--forwarding=FILE --before=FILE --before-label=TEXT]
//                      [--paired-before=FILES --paired-now=FILES --paired-label=TEXT]
// --verbose prints each round's figures to standard error.
// Prints a Markdown section; exit code 0 only when every call succeeded and every
// picture was the thread's own.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_files.h"
#include "bench_options.h"
#include "bench_stage.h"
#include "file_filter.h"
#include "image_plugin.h"
#include "markdown_table.h"
#include "plugin_interface.h"
#include "set_names.h"
#include "statistics.h"
#include "stopwatch.h"

namespace {

constexpr int kKinds = 4;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
constexpr std::size_t kHeadBytes = 2048;
constexpr std::size_t kCheckedBytes = 256;

std::string KindExtension(int kind)
{
    return ".bm" + std::to_string(kind + 1);
}

std::string CopyName(int kind)
{
    return "SampleBmp" + std::to_string(kind + 1) + BRISK_PLUGIN_EXTENSION;
}

// One thread's picture and what a right decode of it looks like.
struct Picture {
    std::string file;
    int kind = 0;
    LONG width = 0;
    LONG height = 0;
    SIZE_T bitsSize = 0;
    std::string firstBits;  // the first and last kCheckedBytes of the bits
    std::string lastBits;
};

// The host's two ways to a picture. Both read the file's head as a host does before
// IsSupported, and both are called from many threads at once without a lock.
class Host {
public:
    virtual ~Host() = default;
    // IsSupported for the file, then GetPicture from the plug-in that accepted it;
    // fills `info` and `bits` or returns an error text.
    virtual std::string Decode(const Picture& picture, HLOCAL& info, HLOCAL& bits) const = 0;
};

std::string ReadHead(const std::string& file, char (&head)[kHeadBytes])
{
    std::memset(head, 0, sizeof head);
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return "cannot open " + file;
    DWORD read = 0;
    BOOL ok = ReadFile(handle, head, sizeof head, &read, nullptr);
    CloseHandle(handle);
    return ok ? "" : "cannot read " + file;
}

std::string CallPicture(GetPictureFunction* getPicture, const Picture& picture, HLOCAL& info, HLOCAL& bits)
{
    int result = getPicture(picture.file.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0);
    if (result != kSpiSuccess)
        return "GetPicture answered " + std::to_string(result) + " for " + picture.file;
    return "";
}

// The status quo: every plug-in loaded by the host, chosen by the patterns it was
// catalogued with and its IsSupported answer.
class DirectHost : public Host {
public:
    explicit DirectHost(const std::string& folder)
    {
        for (int kind = 0; kind < kKinds; ++kind) {
            plugins_.push_back(std::make_unique<ImagePlugin>(folder + "\\" + CopyName(kind)));
            RequireImageEntryPoints(*plugins_.back(), CopyName(kind));
        }
    }
    std::string Decode(const Picture& picture, HLOCAL& info, HLOCAL& bits) const override
    {
        char head[kHeadBytes];
        std::string error = ReadHead(picture.file, head);
        if (!error.empty())
            return error;
        const std::string& file = picture.file;
        for (int kind = 0; kind < kKinds; ++kind) {
            const std::string extension = KindExtension(kind);
            if (file.size() < extension.size() ||
                file.compare(file.size() - extension.size(), extension.size(), extension) != 0)
                continue;
            const ImagePlugin& plugin = *plugins_[kind];
            if (plugin.IsSupported(file.c_str(), reinterpret_cast<ULONG_PTR>(head)) != 0)
                return CallPicture(plugin.GetPicture, picture, info, bits);
        }
        return "no plug-in accepts " + file;
    }

private:
    std::vector<std::unique_ptr<ImagePlugin>> plugins_;
};

// The same host with BriskImp as its one plug-in.
class FrontHost : public Host {
public:
    explicit FrontHost(const std::string& folder) : front_(folder + "\\" BRISK_IMAGE_FRONT)
    {
        RequireImageEntryPoints(front_, BRISK_IMAGE_FRONT);
        if (!front_.GetPictureInfo)
            throw std::runtime_error(BRISK_IMAGE_FRONT " has no GetPictureInfo");
    }
    std::string Decode(const Picture& picture, HLOCAL& info, HLOCAL& bits) const override
    {
        char head[kHeadBytes];
        std::string error = ReadHead(picture.file, head);
        if (!error.empty())
            return error;
        if (front_.IsSupported(picture.file.c_str(), reinterpret_cast<ULONG_PTR>(head)) == 0)
            return BRISK_IMAGE_FRONT " does not accept " + picture.file;
        return CallPicture(front_.GetPicture, picture, info, bits);
    }
    // Which copy the request after this thread's probe reaches: the reader names
    // itself in the picture's text information.
    std::string ReaderOf(const Picture& picture) const
    {
        char head[kHeadBytes];
        std::string error = ReadHead(picture.file, head);
        if (!error.empty())
            return error;
        if (front_.IsSupported(picture.file.c_str(), reinterpret_cast<ULONG_PTR>(head)) == 0)
            return "not accepted";
        SpiPictureInfo record = {};
        int result = front_.GetPictureInfo(picture.file.c_str(), 0, kSpiInputFile, &record);
        if (result != kSpiSuccess)
            return "GetPictureInfo answered " + std::to_string(result);
        std::string text;
        if (record.hInfo) {
            if (const char* locked = static_cast<const char*>(LocalLock(record.hInfo))) {
                text = locked;
                LocalUnlock(record.hInfo);
            }
            LocalFree(record.hInfo);
        }
        std::size_t by = text.rfind("read by ");
        return by == std::string::npos ? "no reader named" : text.substr(by + 8);
    }

private:
    ImagePlugin front_;
};

// Compares a decode with the picture's right one; frees the handles.
std::string CheckAndFree(const Picture& picture, HLOCAL info, HLOCAL bits)
{
    std::string error;
    const auto* header = info ? static_cast<const BITMAPINFOHEADER*>(LocalLock(info)) : nullptr;
    const auto* pixels = bits ? static_cast<const char*>(LocalLock(bits)) : nullptr;
    if (!header || !pixels)
        error = "no picture";
    else if (header->biWidth != picture.width || header->biHeight != picture.height)
        error = "a " + std::to_string(header->biWidth) + "x" + std::to_string(header->biHeight) + " picture";
    else if (LocalSize(bits) < picture.bitsSize)
        error = "bits of " + std::to_string(LocalSize(bits)) + " bytes";
    else if (std::memcmp(pixels, picture.firstBits.data(), kCheckedBytes) != 0 ||
             std::memcmp(pixels + picture.bitsSize - kCheckedBytes, picture.lastBits.data(), kCheckedBytes) != 0)
        error = "other bits";
    if (header)
        LocalUnlock(info);
    if (pixels)
        LocalUnlock(bits);
    if (info)
        LocalFree(info);
    if (bits)
        LocalFree(bits);
    return error.empty() ? "" : error + " for " + picture.file;
}

struct ThreadJob {
    const Host* host = nullptr;
    const Picture* picture = nullptr;
    HANDLE start = nullptr;
    volatile LONG* stop = nullptr;
    volatile LONG* ready = nullptr;
    long cap = 0;
    long decoded = 0;
    std::string error;
};

DWORD WINAPI DecodeLoop(void* parameter)
{
    ThreadJob& job = *static_cast<ThreadJob*>(parameter);
    InterlockedIncrement(job.ready);
    WaitForSingleObject(job.start, INFINITE);
    while (*job.stop == 0 && job.decoded < job.cap) {
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        std::string error = job.host->Decode(*job.picture, info, bits);
        std::string wrong = CheckAndFree(*job.picture, info, bits);
        if (error.empty())
            error = wrong;
        if (!error.empty()) {
            job.error = error;
            break;
        }
        ++job.decoded;
    }
    return 0;
}

// Pictures per second of `pictures.size()` threads, each decoding its own picture
// for `windowMs` (or until each has decoded `cap`).
double Throughput(const Host& host, const std::vector<Picture>& pictures, int windowMs, long cap)
{
    volatile LONG stop = 0;
    volatile LONG ready = 0;
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<ThreadJob> jobs(pictures.size());
    std::vector<HANDLE> threads;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        jobs[i] = {&host, &pictures[i], start, &stop, &ready, cap, 0, ""};
        HANDLE thread = CreateThread(nullptr, 0, DecodeLoop, &jobs[i], 0, nullptr);
        if (!thread)
            throw std::runtime_error("cannot start a thread");
        threads.push_back(thread);
    }
    while (ready < static_cast<LONG>(threads.size()))
        Sleep(1);
    Stopwatch clock;
    SetEvent(start);
    // Waits for the window, or less when every thread reached its cap.
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, windowMs);
    InterlockedExchange(&stop, 1);
    WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE, INFINITE);
    double seconds = clock.Seconds();
    for (HANDLE thread : threads)
        CloseHandle(thread);
    CloseHandle(start);
    long decoded = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (!jobs[i].error.empty())
            throw std::runtime_error("thread " + std::to_string(i + 1) + " of " + std::to_string(jobs.size()) +
                                     ": " + jobs[i].error);
        decoded += jobs[i].decoded;
    }
    if (decoded == 0)
        throw std::runtime_error("no picture decoded");
    return decoded / seconds;
}

struct ThreadsRow {
    std::string set;
    int threads = 0;
    double direct = 0;  // pictures per second, medians over rounds
    double front = 0;
    double pairedRatio = 0;
};

ThreadsRow MeasureSet(const std::string& set, const DirectHost& direct, const FrontHost& front,
                      const std::vector<Picture>& pictures, int threads, int rounds, int windowMs, long cap,
                      bool verbose)
{
    std::vector<Picture> used(pictures.begin(), pictures.begin() + threads);
    std::vector<double> directRates, frontRates, ratios;
    for (int round = 0; round < rounds; ++round) {
        // Taking turns at going first, so neither side always runs on a warm machine.
        if (round % 2 == 0) {
            directRates.push_back(Throughput(direct, used, windowMs, cap));
            frontRates.push_back(Throughput(front, used, windowMs, cap));
        } else {
            frontRates.push_back(Throughput(front, used, windowMs, cap));
            directRates.push_back(Throughput(direct, used, windowMs, cap));
        }
        ratios.push_back(frontRates.back() / directRates.back());
        if (verbose)
            std::fprintf(stderr, "%s, %d threads, round %d: status quo %.0f, through BriskImp %.0f pictures/s\n",
                         set.c_str(), threads, round + 1, directRates.back(), frontRates.back());
    }
    return {set, threads, Median(directRates), Median(frontRates), Median(ratios)};
}

// Writes the picture and keeps what a right decode of it gives, taken from a direct
// call into its kind's reader.
Picture MakePicture(const std::string& folder, const DirectHost& direct, int number, int kind)
{
    Picture picture;
    picture.file = folder + "\\picture" + std::to_string(number) + KindExtension(kind);
    picture.kind = kind;
    // Each thread's picture has a height of its own, so a picture decoded for
    // another thread does not pass as this one.
    picture.width = kPictureWidth;
    picture.height = kPictureHeight + number;
    WritePicture(picture.file, picture.width, picture.height);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    std::string error = direct.Decode(picture, info, bits);
    if (!error.empty())
        throw std::runtime_error(error);
    picture.bitsSize = static_cast<SIZE_T>(((picture.width * 3 + 3) & ~3) * picture.height);
    const char* pixels = static_cast<const char*>(LocalLock(bits));
    if (!pixels || LocalSize(bits) < picture.bitsSize)
        throw std::runtime_error("the direct decode of " + picture.file + " has too few bits");
    picture.firstBits.assign(pixels, kCheckedBytes);
    picture.lastBits.assign(pixels + picture.bitsSize - kCheckedBytes, kCheckedBytes);
    LocalUnlock(bits);
    LocalFree(info);
    LocalFree(bits);
    return picture;
}

// Each thread's first probe and request through BriskImp reach its kind's copy.
void CheckRouting(const FrontHost& front, const std::vector<Picture>& pictures)
{
    for (const Picture& picture : pictures) {
        std::string reader = front.ReaderOf(picture);
        if (reader != CopyName(picture.kind))
            throw std::runtime_error(picture.file + " through " BRISK_IMAGE_FRONT ": " + reader);
    }
}

// The "added (ns)" cell of the forwarding table's row for `plugin` and `call`, in the
// first section headed `heading` (or anywhere when it is empty); negative when absent.
double AddedNs(const std::string& report, const std::string& heading, const std::string& plugin,
               const std::string& call)
{
    std::size_t from = 0;
    if (!heading.empty()) {
        from = report.find("\n" + heading + "\n");
        if (from == std::string::npos)
            return -1;
    }
    std::size_t at = report.find("\n| " + plugin + " | " + call + " |", from);
    if (at == std::string::npos)
        return -1;
    std::string line = report.substr(at + 1, report.find('\n', at + 1) - at - 1);
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, '|'))
        cells.push_back(cell);
    // "", plug-in, call, direct, through BriskImp, added, ...
    if (cells.size() < 6)
        return -1;
    try {
        return std::stod(cells[5]);
    } catch (const std::exception&) {
        return -1;
    }
}

void PrintForwarding(const std::string& now, const std::string& before, const std::string& beforeLabel, bool judge)
{
    const std::string heading = sizeof(void*) == 8 ? "# The 64-bit set" : "# The 32-bit set";
    MarkdownTable table({"call (no-op plug-in)", "added before (ns)", "added now (ns)", "difference (ns)"});
    double worst = -1e300;
    bool complete = true;
    for (const char* call : {"IsSupported", "GetPicture"}) {
        double was = AddedNs(before, heading, "no-op", call);
        double is = AddedNs(now, "", "no-op", call);
        if (was < 0 || is < 0) {
            complete = false;
            continue;
        }
        table.AddRow({call, Fixed(was, 0), Fixed(is, 0), Fixed(is - was, 0)});
        worst = std::max(worst, is - was);
    }
    std::printf("### A forwarded call on one thread\n\n"
                "What a call through " BRISK_IMAGE_FRONT " adds to the same call made directly (the no-op rows of\n"
                "the forwarding table above, whose plug-in does nothing), in this run and in the report\n"
                "of the single-threaded sources (%s). The two were measured in different runs,\n"
                "so the machine's state differs between them.\n\n",
                beforeLabel.c_str());
    if (!complete) {
        std::printf("Target (a forwarded call at most 100 ns more than before, one thread): not judged (a figure "
                    "is missing from a report).\n\n");
        return;
    }
    std::printf("%s\n", table.Text().c_str());
    if (!judge) {
        std::printf("Not judged on these: the side by side below measured both sources in this run.\n\n");
        return;
    }
    std::printf("Target (a forwarded call at most 100 ns more than before, one thread): %s (%s ns at most).\n\n",
                worst <= 100 ? "met" : "MISSED", Fixed(worst, 0).c_str());
}

std::vector<std::string> SplitList(const std::string& text)
{
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ';'))
        if (!item.empty())
            items.push_back(item);
    return items;
}

std::string Listed(const std::vector<double>& values)
{
    std::string text;
    for (double value : values)
        text += (text.empty() ? "" : ", ") + Fixed(value, 0);
    return text;
}

// The earlier sources' front plug-in and this build's, each staged into forwarding_bench
// of this build, the runs taking turns: what each adds to a no-op plug-in's call.
void PrintSideBySide(const std::vector<std::string>& beforeRuns, const std::vector<std::string>& nowRuns,
                     const std::string& label)
{
    MarkdownTable table({"call (no-op plug-in)", "added before, each run (ns)", "added now, each run (ns)",
                         "difference of the medians (ns)"});
    double worst = -1e300;
    bool complete = !beforeRuns.empty() && !nowRuns.empty();
    for (const char* call : {"IsSupported", "GetPicture"}) {
        std::vector<double> was, is;
        for (const std::string& run : beforeRuns)
            was.push_back(AddedNs(run, "", "no-op", call));
        for (const std::string& run : nowRuns)
            is.push_back(AddedNs(run, "", "no-op", call));
        for (double value : was)
            complete = complete && value >= 0;
        for (double value : is)
            complete = complete && value >= 0;
        const double difference = Median(is) - Median(was);
        table.AddRow({call, Listed(was), Listed(is), Fixed(difference, 0)});
        worst = std::max(worst, difference);
    }
    std::printf("### A forwarded call on one thread, side by side\n\n"
                "In this run: forwarding_bench of this build (no-op plug-in only), staged in\n"
                "turns with the " BRISK_IMAGE_FRONT " and registry library of %s and with this build's,\n"
                "%u runs each; what a call through " BRISK_IMAGE_FRONT " adds to the same call made directly.\n\n",
                label.c_str(), unsigned(std::min(beforeRuns.size(), nowRuns.size())));
    std::printf("%s\n", table.Text().c_str());
    if (!complete) {
        std::printf("Target (a forwarded call at most 100 ns more than before, one thread): not judged (a figure "
                    "is missing from a run).\n\n");
        return;
    }
    std::printf("Target (a forwarded call at most 100 ns more than before, one thread, side by side): %s (%s ns at "
                "most).\n\n",
                worst <= 100 ? "met" : "MISSED", Fixed(worst, 0).c_str());
}

void PrintReport(const std::vector<ThreadsRow>& rows, int rounds, int windowMs)
{
    std::printf("## Threads\n\n");
    std::printf("One host process; each thread decodes a picture of its own over and over (it reads the\n"
                "file's first 2 KiB, asks IsSupported, calls GetPicture, checks the picture and frees\n"
                "its handles). The pictures are %dx%d (plus the thread's number in height), 24-bit,\n"
                "read by copies of the sample bitmap reader. Four kinds: thread n reads a picture\n"
                "\"*.bm<n>\", which only copy n of four is catalogued for; one kind: every thread's\n"
                "picture is \"*.bm1\", read by copy 1. Status quo: the host has the four copies\n"
                "loaded itself and asks the one whose pattern matches, with no lock; through\n"
                "" BRISK_IMAGE_FRONT ": the same host with the front plug-in alone, whose catalogue lists the\n"
                "four copies. Pictures per second: the median of %d rounds of %d ms, the two sides\n"
                "taking turns in each round; ratio (paired): the median of the rounds' ratios.\n\n",
                kPictureWidth, kPictureHeight, rounds, windowMs);
    MarkdownTable table({"pictures", "threads", "status quo (pictures/s)", "through BriskImp (pictures/s)",
                         "ratio (paired)"});
    double lowest = 1e300;
    for (const ThreadsRow& row : rows) {
        table.AddRow({row.set, std::to_string(row.threads), Fixed(row.direct, 0), Fixed(row.front, 0),
                      Fixed(row.pairedRatio, 3)});
        lowest = std::min(lowest, row.pairedRatio);
    }
    std::printf("%s\n", table.Text().c_str());
    std::printf("Target (through BriskImp at least 0.9 of the status quo's throughput at every thread "
                "count): %s (lowest ratio %s).\n\n",
                lowest >= 0.9 ? "met" : "MISSED", Fixed(lowest, 3).c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options(argc, argv);
    bool smoke = options.Has("smoke");
    bool verbose = options.Has("verbose");
    std::vector<int> threadCounts = options.Numbers("threads", {1, 2, 4});
    int rounds = options.Number("rounds", smoke ? 1 : 31);
    int windowMs = options.Number("window-ms", smoke ? 50 : 100);
    long cap = options.Number("pictures", smoke ? 20 : 1 << 30);
    try {
        int most = 0;
        for (int count : threadCounts) {
            if (count < 1 || count > 64)
                throw std::runtime_error("thread counts run from 1 to 64");
            most = std::max(most, count);
        }
        ScratchFolder scratch(options.Text("scratch", DefaultScratchRoot()), "threads");
        const std::string folder = scratch.Path();
        StageFrontPlugin(folder);
        std::vector<PluginModule> records;
        for (int kind = 0; kind < kKinds; ++kind) {
            std::string copy = folder + "\\" + CopyName(kind);
            CopyOneFile(BuiltFile(BRISK_SAMPLE_BMP), copy);
            PluginModule record = QueriedRecord(copy);
            // The copies read the same format; the catalogue gives each a kind of its own.
            record.filters.resize(1);
            record.filters[0].patterns = ParsePatternList("*" + KindExtension(kind));
            records.push_back(record);
        }
        WriteCatalogue(folder, records);

        DirectHost direct(folder);
        FrontHost front(folder);
        std::vector<Picture> fourKinds, oneKind;
        for (int number = 0; number < most; ++number) {
            fourKinds.push_back(MakePicture(folder, direct, number, number % kKinds));
            oneKind.push_back(MakePicture(folder, direct, most + number, 0));
        }
        CheckRouting(front, fourKinds);
        CheckRouting(front, oneKind);

        std::vector<ThreadsRow> rows;
        for (int threads : threadCounts)
            rows.push_back(MeasureSet("four kinds", direct, front, fourKinds, threads, rounds, windowMs, cap, verbose));
        for (int threads : threadCounts)
            rows.push_back(MeasureSet("one kind", direct, front, oneKind, threads, rounds, windowMs, cap, verbose));
        PrintReport(rows, rounds, windowMs);

        std::string forwarding = options.Text("forwarding", "");
        std::string before = options.Text("before", "");
        std::vector<std::string> pairedBefore, pairedNow;
        for (const std::string& file : SplitList(options.Text("paired-before", "")))
            pairedBefore.push_back(ReadWholeFile(file));
        for (const std::string& file : SplitList(options.Text("paired-now", "")))
            pairedNow.push_back(ReadWholeFile(file));
        const bool paired = !pairedBefore.empty() || !pairedNow.empty();
        if (!forwarding.empty() && !before.empty())
            PrintForwarding(ReadWholeFile(forwarding), ReadWholeFile(before),
                            options.Text("before-label", before), !paired);
        if (paired)
            PrintSideBySide(pairedBefore, pairedNow, options.Text("paired-label", "the earlier sources"));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "threads_bench: %s\n", error.what());
        return 1;
    }
}
