// Our libraries loaded, used and freed again and again, from one thread and from
// short-lived threads: the process keeps no TLS index, handle or exception pool of
// an unloaded copy.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "process_figures.h"

namespace {

constexpr int kWarmUpCycles = 20;
constexpr int kCycles = 300;
constexpr GrowthBounds kFlat = {1024, 2, 0};

using ThrowAndCatchFn = int(WINAPI*)(int);

std::string ProbePath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "unload_probe.dll";
}

DWORD WINAPI CallProbe(LPVOID function)
{
    return static_cast<DWORD>(reinterpret_cast<ThrowAndCatchFn>(function)(7));
}

ThrowAndCatchFn FindProbe(HMODULE library)
{
    return reinterpret_cast<ThrowAndCatchFn>(reinterpret_cast<void*>(GetProcAddress(library, "ThrowAndCatch")));
}

const int kExpected = static_cast<int>(std::string("probe 7").size());

// Starts `count` threads that each throw and catch in the library; with `together`
// they run at once and race for the runtime's one-time set-up, otherwise one by one.
void RunThreads(ThrowAndCatchFn probe, int count, bool together)
{
    HANDLE threads[4];
    ASSERT_LE(count, 4);
    for (int i = 0; i < count; ++i) {
        threads[i] = CreateThread(nullptr, 0, CallProbe, reinterpret_cast<LPVOID>(probe), 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
        if (!together)
            WaitForSingleObject(threads[i], INFINITE);
    }
    WaitForMultipleObjects(count, threads, TRUE, INFINITE);
    for (int i = 0; i < count; ++i) {
        DWORD code = 0;
        GetExitCodeThread(threads[i], &code);
        EXPECT_EQ(code, static_cast<DWORD>(kExpected));
        CloseHandle(threads[i]);
    }
}

// One cycle: load, throw and catch on this thread (threads 0) or on new threads,
// free.
void Cycle(const std::string& path, int threads, bool together)
{
    HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr);
    ThrowAndCatchFn probe = FindProbe(library);
    ASSERT_NE(probe, nullptr);
    if (threads == 0)
        EXPECT_EQ(probe(7), kExpected);
    else
        RunThreads(probe, threads, together);
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "the library stayed loaded";
}

struct CycleRun {
    ProcessFigures before, after;
};

CycleRun RunCycles(int threads, bool together)
{
    const std::string path = ProbePath();
    CycleRun run;
    for (int i = 0; i < kWarmUpCycles; ++i)
        Cycle(path, threads, together);
    run.before = MeasureProcess();
    for (int i = 0; i < kCycles && !testing::Test::HasFatalFailure(); ++i)
        Cycle(path, threads, together);
    run.after = MeasureProcess();
    return run;
}

void ExpectFlat(int threads)
{
    CycleRun run = RunCycles(threads, false);
    EXPECT_EQ(GrowthPastBounds(run.before, run.after, kCycles, kFlat), "");
}

TEST(LibraryUnload, ThrowingOnTheLoadingThreadLeavesNothingBehind)
{
    ExpectFlat(0);
}

// The threads end while the library is loaded, so their thread values are destroyed
// at thread end, not at unload.
TEST(LibraryUnload, ThreadsThatThrewAndEndedLeaveNothingBehind)
{
    ExpectFlat(3);
}

// Threads racing through the first throw all get their answer and take no TLS index
// for good. A runtime lock that was contended keeps its wait event with the unloaded
// copy, so handles are not bounded here: plug-ins are called from one thread at a
// time, and the race is what a host that breaks that rule gets.
TEST(LibraryUnload, ThreadsRacingThroughTheFirstThrowAllGetTheirAnswer)
{
    CycleRun run = RunCycles(3, true);
    EXPECT_LE(run.after.tlsIndex, run.before.tlsIndex);
}

// The once-only calls of the runtime: an initialiser that throws has not run, so the
// next call runs it again (and the one after that does not).
TEST(LibraryUnload, OnceInitialiserThatThrowsRunsAgainOnTheNextCall)
{
    HMODULE library = LoadLibraryA(ProbePath().c_str());
    ASSERT_NE(library, nullptr);
    auto onceAttempts =
        reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(library, "OnceAttempts")));
    ASSERT_NE(onceAttempts, nullptr);
    EXPECT_EQ(onceAttempts(), 2);
    FreeLibrary(library);
}

}  // namespace
