// The lock, thread and per-thread values of our own layers. On Windows a per-thread value is destroyed at
// its thread's end by the compiler's runtime, through its list of TLS slot destructors: the case below is
// what shows that this happens, before the thread counts as ended.
#include "threads/Mutex.h"
#include "threads/Thread.h"
#include "threads/ThreadSlot.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

std::atomic<int> s_made{0};
std::atomic<int> s_destroyed{0};

struct Counted {
    Counted() { ++s_made; }
    ~Counted() { ++s_destroyed; }
    int value = 0;
};

TEST(ThreadsTest, EachThreadHasItsOwnValueMadeOnFirstUseAndDestroyedWhenTheThreadEnds) {
    static threads::ThreadLocal<Counted> local;
    static threads::ThreadSlot slot;
    int mine = 0;
    local.Get().value = 1;
    slot.Set(&mine);
    const int made = s_made;
    const int destroyed = s_destroyed;

    int seen[2] = {-1, -1};
    bool slotEmpty[2] = {false, false};
    threads::Thread first([&] {
        seen[0] = local.Get().value;
        local.Get().value = 2;
        slotEmpty[0] = slot.Get() == nullptr;
    });
    threads::Thread second([&] {
        seen[1] = local.Get().value;
        slotEmpty[1] = slot.Get() == nullptr;
    });
    ASSERT_TRUE(first.Joinable());
    ASSERT_TRUE(second.Joinable());
    first.Join();
    second.Join();
    EXPECT_FALSE(first.Joinable());

    EXPECT_EQ(0, seen[0]);
    EXPECT_EQ(0, seen[1]);
    EXPECT_TRUE(slotEmpty[0]);
    EXPECT_TRUE(slotEmpty[1]);
    EXPECT_EQ(made + 2, s_made);
    EXPECT_EQ(destroyed + 2, s_destroyed);
    EXPECT_EQ(1, local.Get().value);
    EXPECT_EQ(&mine, slot.Get());
}

TEST(ThreadsTest, TheLockKeepsUpdatesOfTwoThreadsWholeAndAMovedThreadIsJoinedOnce) {
    threads::Mutex mutex;
    long count = 0;
    auto add = [&] {
        for (int i = 0; i < 100000; ++i) {
            threads::Lock lock(mutex);
            ++count;
        }
    };
    threads::Thread a(add);
    threads::Thread b;
    EXPECT_FALSE(b.Joinable());
    b = threads::Thread(add);
    threads::Thread c(std::move(a));
    EXPECT_FALSE(a.Joinable());
    c.Join();
    b.Join();
    b.Join();
    EXPECT_EQ(200000, count);
}

} // namespace
