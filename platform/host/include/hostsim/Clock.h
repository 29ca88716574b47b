// The one clock behind every wait, sleep, tick count and timer of the host stand-ins, and the blocking
// primitive that every stand-in which makes a thread wait is built on.
//
// Real time (the default): waits are timed waits on the machine's steady clock.
// Virtual time (while a VirtualTime object lives): the program's threads run one at a time, each until it
// blocks in a stand-in; when none of them can run, the clock jumps to the earliest deadline. A scenario of
// ten virtual minutes runs in milliseconds, and the same input gives the same trace every time.
#pragma once
#include <cstdint>
#include <mutex>

namespace hostsim {

constexpr std::uint64_t kNoDeadline = ~std::uint64_t{0};

// Milliseconds since the clock's start (GetTickCount is its low 32 bits).
std::uint64_t NowMs();
bool IsVirtualTime();

// Switches the clock to virtual time for its lifetime; the constructing thread becomes a program thread,
// and so does every thread created through CreateThread while it lives. Not copyable, not nestable.
class VirtualTime {
public:
    explicit VirtualTime(std::uint64_t startMs = 0);
    ~VirtualTime();
    VirtualTime(const VirtualTime&) = delete;
    VirtualTime& operator=(const VirtualTime&) = delete;
};

// Non-owning view of a predicate, so that blocking allocates nothing.
class ReadyTest {
public:
    template <class F>
    ReadyTest(F& f) : m_object(&f), m_call([](void* o) { return static_cast<bool>((*static_cast<F*>(o))()); }) {}
    bool operator()() const { return m_call(m_object); }

private:
    void* m_object;
    bool (*m_call)(void*);
};

// The scheduler's lock guards every piece of state that a blocked thread's ReadyTest reads.
std::unique_lock<std::mutex> LockScheduler();

// Blocks the calling thread, with the scheduler lock held by `lock`, until ready() is true or the clock
// reaches deadlineMs (kNoDeadline: no time-out). Returns true when ready, false on time-out.
bool BlockUntil(std::unique_lock<std::mutex>& lock, ReadyTest ready, std::uint64_t deadlineMs);

// To be called with the scheduler lock held after changing state that a ReadyTest may read.
void NotifyChange(std::unique_lock<std::mutex>& lock);

} // namespace hostsim
