#include "module/frame/CountedPtr.h"

#include <gtest/gtest.h>

namespace {

struct Plain {
    explicit Plain(int* destroyed) : destroyed_(destroyed) {}
    ~Plain() { ++*destroyed_; }
    int* destroyed_;
};

struct Base {
    virtual ~Base() = default;
};

struct Derived : Base {
    explicit Derived(int* destroyed) : destroyed_(destroyed) {}
    ~Derived() override { ++*destroyed_; }
    int* destroyed_;
};

SMARTPOINTERS_NAMED_HANDLE(PlainPtr, Plain);
SMARTPOINTERS_NAMED_HANDLE(BasePtr, Base);

TEST(CountedPtr, HandleOverNullHasItsOwnCount) {
    PlainPtr empty;
    EXPECT_TRUE(empty.isNull());
    EXPECT_EQ(empty.useCount(), 1);
    empty.release();
    EXPECT_EQ(empty.useCount(), 0);
    EXPECT_EQ(empty.countPtr(), nullptr);
    empty.release();  // a released handle ignores further releases
    EXPECT_EQ(empty.useCount(), 0);
}

TEST(CountedPtr, CopiesShareOneCountAndTheLastReleaseDestroysOnce) {
    int destroyed = 0;
    PlainPtr first(new Plain(&destroyed));
    {
        PlainPtr second(first);
        EXPECT_EQ(first.countPtr(), second.countPtr());
        EXPECT_EQ(first.useCount(), 2);
    }
    EXPECT_EQ(first.useCount(), 1);
    EXPECT_EQ(destroyed, 0);
    first.release();
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(first.countPtr(), nullptr);
}

TEST(CountedPtr, AssignmentReleasesTheOldShareFirst) {
    int destroyedA = 0;
    int destroyedB = 0;
    PlainPtr a(new Plain(&destroyedA));
    PlainPtr b(new Plain(&destroyedB));
    PlainPtr keepB(b);
    a = b;
    EXPECT_EQ(destroyedA, 1);
    EXPECT_EQ(destroyedB, 0);
    EXPECT_EQ(b.useCount(), 3);

    PlainPtr overNull;
    overNull = keepB;  // frees the null handle's own count of 1
    EXPECT_EQ(b.useCount(), 4);
}

TEST(CountedPtr, SelfAssignmentLeavesTheCountAlone) {
    int destroyed = 0;
    PlainPtr a(new Plain(&destroyed));
    PlainPtr& alias = a;
    a = alias;
    EXPECT_EQ(a.useCount(), 1);
    EXPECT_EQ(destroyed, 0);
}

TEST(CountedPtr, DerivedObjectIsDestroyedAsItsOwnClass) {
    int destroyed = 0;
    {
        BasePtr handle(new Derived(&destroyed));
        BasePtr copy = handle;
    }
    EXPECT_EQ(destroyed, 1);
}

}  // namespace

namespace {

TEST(CountedPtr, CopyOfAReleasedHandleIsAFreshHandleOverNull) {
    int destroyed = 0;
    PlainPtr gone(new Plain(&destroyed));
    gone.release();
    PlainPtr copy(gone);
    EXPECT_TRUE(copy.isNull());
    EXPECT_EQ(copy.useCount(), 1);
    PlainPtr assigned;
    assigned = gone;
    EXPECT_TRUE(assigned.isNull());
    EXPECT_EQ(assigned.useCount(), 1);
    EXPECT_EQ(destroyed, 1);
}

}  // namespace

namespace {

TEST(CountedPtr, ReleasingASharedHandleByHandLowersTheCountOnce) {
    int destroyed = 0;
    PlainPtr keep(new Plain(&destroyed));
    {
        PlainPtr other(keep);
        other.release();
        EXPECT_TRUE(other.isNull());
        EXPECT_EQ(keep.useCount(), 1);
    }  // destroying the released handle must not lower the count again
    EXPECT_EQ(keep.useCount(), 1);
    EXPECT_EQ(destroyed, 0);
}

}  // namespace
