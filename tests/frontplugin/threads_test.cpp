// Hosts that call from several threads: each thread's requests go to the candidates of
// its own last probe, whatever other threads probe meanwhile; a plug-in first matched
// on several threads at once is loaded once; a nested call is refused on its own
// thread only.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "front_host.h"

namespace {

constexpr int kImageKinds = 4;
constexpr int kArchiveKinds = 2;
// Image kinds, archive kinds, then a name nobody accepts.
constexpr int kKinds = kImageKinds + kArchiveKinds + 1;

std::string Header()
{
    return std::string(2048, '\0');
}

// Lets threads go at one moment, so their first calls meet.
class StartLine {
public:
    explicit StartLine(int threads) : waiting_(threads) {}
    void Arrive()
    {
        --waiting_;
        while (waiting_.load() > 0)
            std::this_thread::yield();
    }

private:
    std::atomic<int> waiting_;
};

int Mark(int kind)
{
    return 20 + kind;
}

// One catalogued plug-in per kind, each with its own extension and its own answer.
class KindsFolder {
public:
    KindsFolder()
    {
        std::string records;
        for (int kind = 0; kind < kImageKinds; ++kind) {
            const std::string extension = "p" + std::to_string(kind);
            plugins_.push_back(folder_.AddFake(extension + ".spi", "image",
                                               "quiet=1\nmark=" + std::to_string(Mark(kind)) + "\n"));
            records += FakeRecord(plugins_.back(), "00IN", {{"*." + extension, "Pictures"}});
        }
        for (int kind = 0; kind < kArchiveKinds; ++kind) {
            const std::string extension = "a" + std::to_string(kind);
            plugins_.push_back(folder_.AddFake(extension + ".spi", "archive",
                                               "quiet=1\nentries=entry" + std::to_string(kind) + ".txt\n"));
            records += FakeRecord(plugins_.back(), "00AM", {{"*." + extension, "Archives"}});
        }
        plugins_.push_back(folder_.AddFake("refuses.spi", "image", "quiet=1\nIsSupported=0\n"));
        records += FakeRecord(plugins_.back(), "00IN", {{"*.no", "Nothing"}});
        folder_.WriteCatalogue(records);
    }

    const FrontFolder& Front() const { return folder_; }
    const FakePlugin& Plugin(int kind) const { return plugins_[kind]; }

private:
    FrontFolder folder_;
    std::vector<FakePlugin> plugins_;
};

// A probe and a request for a file of `kind`, as a host makes them, answered in one
// line that holds every result and what came back.
std::string ProbeAndRequest(const LoadedFront& imp, const LoadedFront& arc, int kind, const std::string& stem)
{
    const std::string header = Header();
    const ULONG_PTR dw = reinterpret_cast<ULONG_PTR>(header.data());
    if (kind < kImageKinds || kind == kKinds - 1) {
        const std::string name = stem + (kind < kImageKinds ? ".p" + std::to_string(kind) : ".no");
        const int supported = imp.IsSupported(name.c_str(), dw);
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        const int result = imp.GetPicture(name.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0);
        std::string answer = std::to_string(supported) + "/" + std::to_string(result);
        if (result == 0 && bits) {
            answer += "/" + std::to_string(static_cast<BYTE*>(LocalLock(bits))[0]);
            LocalUnlock(bits);
        }
        LocalFree(info);
        LocalFree(bits);
        return answer;
    }
    // Archives through the W entry points, which the ANSI-only plug-ins serve converted.
    const std::string name = stem + ".a" + std::to_string(kind - kImageKinds);
    const std::wstring wideName(name.begin(), name.end());
    const int supported = arc.IsSupportedW(wideName.c_str(), dw);
    HLOCAL table = nullptr;
    const int result = arc.GetArchiveInfoW(wideName.c_str(), 0, kSpiInputFile, &table);
    std::string answer = std::to_string(supported) + "/" + std::to_string(result);
    if (result == 0 && table) {
        const auto* entry = static_cast<const SpiFileInfoW*>(LocalLock(table));
        answer += "/" + std::string(entry->fileName, entry->fileName + wcslen(entry->fileName));
        LocalUnlock(table);
    }
    LocalFree(table);
    return answer;
}

TEST(Threads, EveryThreadGetsWhatOneThreadGets)
{
    KindsFolder kinds;
    LoadedFront imp(kinds.Front().Imp());
    LoadedFront arc(kinds.Front().Arc());
    // What one thread gets, kind by kind.
    std::vector<std::string> expected;
    for (int kind = 0; kind < kKinds; ++kind)
        expected.push_back(ProbeAndRequest(imp, arc, kind, kinds.Front() / "alone"));
    EXPECT_EQ(expected[0], "1/0/" + std::to_string(Mark(0)));
    EXPECT_EQ(expected[kImageKinds], "1/0/entry0.txt");
    EXPECT_EQ(expected[kKinds - 1], "0/2");

    constexpr int kThreads = 8;
    constexpr int kSteps = 400;
    std::vector<std::vector<std::string>> wrong(kThreads);
    StartLine start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.Arrive();
            for (int step = 0; step < kSteps; ++step) {
                // Every thread walks the kinds in its own order, so neighbours interleave.
                const int kind = (t * 3 + step * (t % 2 ? 1 : 5)) % kKinds;
                const std::string stem = kinds.Front() / ("t" + std::to_string(t) + "_" + std::to_string(step % 3));
                std::string answer = ProbeAndRequest(imp, arc, kind, stem);
                if (answer != expected[kind] && wrong[t].size() < 5)
                    wrong[t].push_back("kind " + std::to_string(kind) + ": " + answer);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_TRUE(wrong[t].empty()) << "thread " << t << ", first wrong answers: " << ::testing::PrintToString(wrong[t]);
    // Every plug-in was loaded once, by whichever thread needed it first.
    for (int kind = 0; kind < kKinds; ++kind)
        EXPECT_EQ(kinds.Plugin(kind).Count("attach"), 1) << "kind " << kind;
}

TEST(Threads, APluginFirstMatchedOnManyThreadsAtOnceIsLoadedOnce)
{
    FrontFolder folder;
    constexpr int kRecords = 6;
    std::vector<FakePlugin> plugins;
    std::string records;
    for (int i = 0; i < kRecords; ++i) {
        plugins.push_back(folder.AddFake("race" + std::to_string(i) + ".spi", "image", "quiet=1\n"));
        records += FakeRecord(plugins.back(), "00IN", {{"*.r" + std::to_string(i), "R"}});
    }
    folder.WriteCatalogue(records);
    LoadedFront imp(folder.Imp());
    ASSERT_EQ(imp.IsSupported("warm.none", 0), 0);
    // Each round, all threads ask for a record none of them has bound yet.
    for (int i = 0; i < kRecords; ++i) {
        constexpr int kThreads = 8;
        StartLine start(kThreads);
        std::atomic<int> accepted{0};
        std::vector<std::thread> threads;
        const std::string name = "same.r" + std::to_string(i);
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                start.Arrive();
                accepted += imp.IsSupported(name.c_str(), 0);
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        EXPECT_EQ(accepted.load(), kThreads) << name;
        EXPECT_EQ(plugins[i].Count("attach"), 1) << name;
    }
}

// What a progress callback does from inside GetPicture: a nested call on its own
// thread, and another thread probing and decoding meanwhile.
struct NestedCalls {
    const LoadedFront* imp = nullptr;
    int nested = -1;
    std::string otherThread;
};

int WINAPI CallFromTheCallback(int, int, LONG_PTR data)
{
    auto& calls = *reinterpret_cast<NestedCalls*>(data);
    calls.nested = calls.imp->IsSupported("nested.p1", 0);
    std::thread other([&] {
        const int supported = calls.imp->IsSupported("other.p1", 0);
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        const int result = calls.imp->GetPicture("other.p1", 0, kSpiInputMemory, &info, &bits, nullptr, 0);
        calls.otherThread = std::to_string(supported) + "/" + std::to_string(result);
        if (bits) {
            calls.otherThread += "/" + std::to_string(static_cast<BYTE*>(LocalLock(bits))[0]);
            LocalUnlock(bits);
        }
        LocalFree(info);
        LocalFree(bits);
    });
    other.join();
    return 0;
}

TEST(Threads, ANestedCallIsRefusedOnItsOwnThreadOnly)
{
    FrontFolder folder;
    FakePlugin first = folder.AddFake("first.spi", "image", "callback=1\nmark=31\n");
    FakePlugin second = folder.AddFake("second.spi", "image", "mark=32\n");
    folder.WriteCatalogue(FakeRecord(first, "00IN", {{"*.p0", "A"}}) + FakeRecord(second, "00IN", {{"*.p1", "B"}}));
    LoadedFront imp(folder.Imp());
    NestedCalls calls;
    calls.imp = &imp;
    ASSERT_EQ(imp.IsSupported("outer.p0", 0), 1);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    ASSERT_EQ(imp.GetPicture("outer.p0", 0, kSpiInputMemory, &info, &bits, CallFromTheCallback,
                             reinterpret_cast<LONG_PTR>(&calls)),
              0);
    EXPECT_EQ(calls.nested, 0);
    EXPECT_EQ(second.Count("IsSupported|nested.p1"), 0);
    // The other thread was not refused, and its probe did not change this thread's
    // candidates: the outer call got the first plug-in's picture.
    EXPECT_EQ(calls.otherThread, "1/0/32");
    EXPECT_EQ(static_cast<BYTE*>(LocalLock(bits))[0], 31);
    LocalUnlock(bits);
    LocalFree(info);
    LocalFree(bits);
}

TEST(Threads, AThreadWithoutAProbeOfItsOwnUsesTheLatestOne)
{
    KindsFolder kinds;
    LoadedFront imp(kinds.Front().Imp());
    ASSERT_EQ(imp.IsSupported("shown.p2", 0), 1);
    auto decodeMemory = [&] {
        int mark = -1;
        std::thread decoder([&] {
            HLOCAL info = nullptr;
            HLOCAL bits = nullptr;
            // A memory image: no name to probe again, only the candidates decide.
            if (imp.GetPicture("image", 5, kSpiInputMemory, &info, &bits, nullptr, 0) == 0) {
                mark = static_cast<BYTE*>(LocalLock(bits))[0];
                LocalUnlock(bits);
            }
            LocalFree(info);
            LocalFree(bits);
        });
        decoder.join();
        return mark;
    };
    EXPECT_EQ(decodeMemory(), Mark(2));
    ASSERT_EQ(imp.IsSupported("next.p3", 0), 1);
    EXPECT_EQ(decodeMemory(), Mark(3));
}

int WINAPI StopAtOnce(int, int, LONG_PTR)
{
    return 1;
}

TEST(Threads, ARequestCancelledByTheHostGetsNoSecondChance)
{
    FrontFolder folder;
    FakePlugin stops = folder.AddFake("stops.spi", "image", "callback=1\ncancel=1\nGetPicture=2\n");
    FakePlugin other = folder.AddFake("other.spi", "image", "");
    folder.WriteCatalogue(FakeRecord(stops, "00IN", {{"*.p0", "A"}}) + FakeRecord(other, "00IN", {{"*.p1", "B"}}));
    const std::string file = folder / "b.p1";
    WriteFileBytes(file, "picture");
    LoadedFront imp(folder.Imp());
    ASSERT_EQ(imp.IsSupported("a.p0", 0), 1);
    HLOCAL info = nullptr;
    HLOCAL bits = nullptr;
    EXPECT_EQ(imp.GetPicture(file.c_str(), 0, kSpiInputFile, &info, &bits, StopAtOnce, 0), kSpiUnknownFormat);
    EXPECT_EQ(stops.Count("callback|1"), 1);
    // The host asked to stop: the file it named is not probed and decoded after all.
    EXPECT_EQ(other.Count("IsSupported|"), 0);
    EXPECT_EQ(other.Count("GetPicture|"), 0);
    // Without a cancel the same request does get its second chance.
    EXPECT_EQ(imp.GetPicture(file.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0), 0);
    EXPECT_EQ(other.Count("GetPicture|" + file), 1);
    LocalFree(info);
    LocalFree(bits);
}

}  // namespace

namespace {

// Both front plug-ins' first calls at one moment, in fresh processes, many times over:
// each must see the whole catalogue, and its probe the last record.
TEST(Threads, FirstCallsRacingInFreshProcessesSeeTheWholeCatalogue)
{
    for (int records : {100, 4000}) {
        FrontFolder folder;
        FakePlugin last = folder.AddFake("last.spi", "all", "quiet=1\n");
        std::string catalogue;
        for (int i = 0; i < records; ++i) {
            const bool image = i % 2 == 0;
            catalogue += CatalogueRecord(folder / ("absent" + std::to_string(i) + ".spi"), image ? "00IN" : "00AM",
                                         "Absent", false, {{"*.x" + std::to_string(i), "X"}});
        }
        catalogue += FakeRecord(last, "00IN", {{"*.last", "L"}}) + FakeRecord(last, "00AM", {{"*.lastarc", "L"}});
        folder.WriteCatalogue(catalogue);
        const int entries = 2 + 2 * (records / 2 + 1);
        const std::string expected = "imp=" + std::to_string(entries) + ",1 arc=" + std::to_string(entries) + ",1\r\n";
        const int runs = records > 1000 ? 6 : 20;
        std::string path = folder.Path();
        path.pop_back();  // the closing separator would escape the quote
        for (int run = 0; run < runs; ++run) {
            ProcessResult result =
                RunProcess("\"" + BinFolder() + "first_call_race_host.exe\" \"" + path + "\" a.last b.lastarc");
            ASSERT_EQ(result.exitCode, 0) << records << " records, run " << run;
            ASSERT_EQ(result.standardOutput, expected) << records << " records, run " << run;
        }
    }
}

}  // namespace
