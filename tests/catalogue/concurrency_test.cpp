// The platform-free pieces that threads share: counted references to one holder taken
// and dropped on many threads at once, and a set-up that many threads need at once.
// Natively these also run under the thread sanitizer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "once_init.h"
#include "shared_ref.h"

namespace {

std::atomic<int> holdersDeleted{0};

class CountedHolder : public SharedHolder<int> {
public:
    ~CountedHolder() override { ++holdersDeleted; }
    int* Get() override { return &value_; }

private:
    int value_ = 7;
};

TEST(Concurrency, ReferencesTakenAndDroppedOnManyThreadsKeepAnExactCount)
{
    holdersDeleted = 0;
    constexpr int kThreads = 8;
    constexpr int kRounds = 2000;
    {
        SharedRef<int> owner(new CountedHolder);
        std::atomic<int> wrongValues{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                for (int round = 0; round < kRounds; ++round) {
                    SharedRef<int> copy(owner);
                    SharedRef<int> moved(std::move(copy));
                    SharedRef<int> assigned;
                    assigned = moved;
                    wrongValues += *assigned == 7 ? 0 : 1;
                }
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        EXPECT_EQ(wrongValues.load(), 0);
        EXPECT_EQ(owner.Target()->ReferenceCount(), 1u);
        EXPECT_EQ(holdersDeleted.load(), 0);
    }
    EXPECT_EQ(holdersDeleted.load(), 1);
}

TEST(Concurrency, TheLastOfManyThreadsDeletesTheHolderOnce)
{
    for (int round = 0; round < 200; ++round) {
        holdersDeleted = 0;
        constexpr int kThreads = 4;
        std::vector<SharedRef<int>> references;
        SharedRef<int> first(new CountedHolder);
        for (int t = 0; t < kThreads; ++t)
            references.push_back(first);
        first.Release();
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&references, t] { references[t].Release(); });
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(holdersDeleted.load(), 1) << "round " << round;
    }
}

TEST(Concurrency, ASetUpNeededOnManyThreadsAtOnceRunsOnceAndIsSeenWhole)
{
    for (int round = 0; round < 50; ++round) {
        OnceInit<std::mutex> once;
        int runs = 0;
        std::vector<int> built;
        std::atomic<int> incomplete{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 6; ++t) {
            threads.emplace_back([&] {
                once.Run([&] {
                    ++runs;
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    built.assign(1000, 1);
                });
                incomplete += built.size() == 1000 ? 0 : 1;
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(runs, 1);
        ASSERT_EQ(incomplete.load(), 0);
        ASSERT_TRUE(once.Done());
    }
}

TEST(Concurrency, ASetUpThatThrowsRunsAgainOnTheNextCall)
{
    OnceInit<std::mutex> once;
    int runs = 0;
    EXPECT_THROW(once.Run([&] {
        ++runs;
        throw 1;
    }),
                 int);
    EXPECT_FALSE(once.Done());
    once.Run([&] { ++runs; });
    once.Run([&] { ++runs; });
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(once.Done());
}

}  // namespace
