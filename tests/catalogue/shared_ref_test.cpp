#include <gtest/gtest.h>

#include <vector>

#include "shared_ref.h"

namespace {

// Counts its own destruction.
class CountedHolder : public SharedHolder<int> {
public:
    CountedHolder(int value, int& destroyed) : value_(value), destroyed_(destroyed) {}
    ~CountedHolder() override { ++destroyed_; }
    int* Get() override { return &value_; }

private:
    int value_;
    int& destroyed_;
};

TEST(SharedRef, LastReleaseDeletesTheHolderOnce)
{
    int destroyed = 0;
    auto* holder = new CountedHolder(7, destroyed);
    {
        SharedRef<int> first(holder);
        EXPECT_EQ(holder->ReferenceCount(), 1u);
        {
            SharedRef<int> second(first);
            SharedRef<int> third = second;
            EXPECT_EQ(holder->ReferenceCount(), 3u);
            EXPECT_EQ(*third, 7);
        }
        EXPECT_EQ(destroyed, 0);
        EXPECT_EQ(holder->ReferenceCount(), 1u);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(SharedRef, AssignmentRegistersBeforeReleasing)
{
    int destroyedA = 0, destroyedB = 0;
    SharedRef<int> a(new CountedHolder(1, destroyedA));
    SharedRef<int> b(new CountedHolder(2, destroyedB));
    a = b;  // a's old holder has no other reference: it goes now
    EXPECT_EQ(destroyedA, 1);
    EXPECT_EQ(*a, 2);
    EXPECT_EQ(b.Target()->ReferenceCount(), 2u);

    a = a;  // the same target changes nothing
    EXPECT_EQ(b.Target()->ReferenceCount(), 2u);

    // Assigning a reference to itself through a copy kept only by it.
    SharedRef<int> only(new CountedHolder(3, destroyedA));
    SharedRef<int>& alias = only;
    only = alias;
    EXPECT_EQ(*only, 3);

    a.Release();
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(destroyedB, 0);
    b = SharedRef<int>();
    EXPECT_EQ(destroyedB, 1);
}

TEST(SharedRef, MovedReferencesStayCounted)
{
    int destroyed = 0;
    std::vector<SharedRef<int>> references;
    SharedRef<int> origin(new CountedHolder(5, destroyed));
    for (int i = 0; i < 100; ++i)
        references.push_back(origin);  // reallocation moves the references
    EXPECT_EQ(origin.Target()->ReferenceCount(), 101u);
    SharedRef<int> moved(std::move(origin));
    EXPECT_TRUE(origin.Empty());
    EXPECT_EQ(moved.Target()->ReferenceCount(), 101u);
    references.clear();
    EXPECT_EQ(destroyed, 0);
    moved = std::move(origin);  // an empty reference replaces the last one
    EXPECT_EQ(destroyed, 1);
}

TEST(SharedRef, EmptyReferenceYieldsNull)
{
    SharedRef<int> empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Get(), nullptr);
    SharedRef<int> copy(empty);
    EXPECT_TRUE(copy.Empty());
}

}  // namespace
