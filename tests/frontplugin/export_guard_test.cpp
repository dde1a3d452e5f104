// The wrapper every export runs in: the only place where failures turn into the
// interface's codes. A host cannot make an export throw on purpose, so the wrapper
// is tested here on its own.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "export_guard.h"

namespace {

constexpr ExportResults kResults{-7, -9};

TEST(ExportGuard, ReturnsTheBodysResultAndClearsTheFlag)
{
    bool busy = false;
    EXPECT_EQ(GuardedCall(busy, kResults, [&] { return busy ? 42 : 0; }), 42);
    EXPECT_FALSE(busy);
}

TEST(ExportGuard, NestedCallGetsTheBusyResultAndLeavesTheOuterMark)
{
    bool busy = false;
    int nested = 0;
    bool busyAfterNested = false;
    int outer = GuardedCall(busy, kResults, [&] {
        nested = GuardedCall(busy, kResults, [] { return 1; });
        busyAfterNested = busy;
        return 5;
    });
    EXPECT_EQ(nested, kResults.busy);
    EXPECT_TRUE(busyAfterNested);
    EXPECT_EQ(outer, 5);
    EXPECT_FALSE(busy);
}

TEST(ExportGuard, AnythingElseThrownGivesTheFailureResultAndClearsTheFlag)
{
    bool busy = false;
    EXPECT_EQ(GuardedCall(busy, kResults, []() -> int { throw std::bad_alloc(); }), kResults.failed);
    EXPECT_FALSE(busy);
    EXPECT_EQ(GuardedCall(busy, kResults, []() -> int { throw std::runtime_error("x"); }), kResults.failed);
    EXPECT_FALSE(busy);
    EXPECT_EQ(GuardedCall(busy, kResults, []() -> int { throw 3; }), kResults.failed);
    EXPECT_FALSE(busy);
}

}  // namespace
