// The one clock behind every wait, sleep, tick count and timer of the host stand-ins, and the blocking
// primitive that every stand-in which makes a thread wait is built on.
//
// Real time (the default): waits are timed waits on the machine's steady clock; NowMs() is the steady
// clock's milliseconds (like Windows' tick count, it counts from about the machine's start).
//
// Virtual time (while a VirtualTime object lives): the program's threads run one at a time, each until it
// blocks in a stand-in; when none of them can run, the clock jumps to the earliest deadline. A scenario of
// ten virtual minutes runs in milliseconds, and the same input gives the same trace every time.
//
// Virtual time in detail:
// - Program threads: the thread that constructs VirtualTime, and every thread created with CreateThread
//   while it lives (whichever thread creates it). Exactly one program thread holds the baton and runs;
//   the others wait for it. A thread gives the baton up only when it blocks (BlockUntil, and so
//   WaitForSingleObject, Sleep and everything built on them) or ends.
// - The baton goes to the runnable threads in the order in which they became runnable (FIFO). A thread
//   becomes runnable when it is created (the creator keeps running), when the state it waits for comes
//   true (NotifyChange), when its deadline comes, or when it yields (a wait whose deadline is already due,
//   e.g. Sleep(0)).
// - When no program thread can run, the clock jumps to the earliest deadline of a blocked program thread
//   and the threads due at it become runnable in (deadline, order of blocking) order.
// - When no program thread can run and none has a deadline, the program can only go on if a thread that
//   is not a program thread changes something. If no program thread becomes runnable within the deadlock
//   grace (real time, SetDeadlockGraceMs, 5000 ms by default: far more than a busy machine
//   under a sanitizer keeps a runnable thread waiting), that is a deadlock: the process prints the
//   blocked threads (id, start routine, where and since when they wait) to stderr and aborts.
// - A program thread must block only in the stand-ins: one that blocks elsewhere (a std::mutex held by
//   another program thread, a join) keeps the baton and stops the whole program.
// - Threads that are not program threads (a test's helper std::thread) may call every stand-in at any
//   time: their changes wake program threads as usual. They are not scheduled: they run concurrently with
//   the program thread that holds the baton, and their own time-outs are real milliseconds counted from
//   the call (they never make the virtual clock move).
// - Thread ids (GetCurrentThreadId) of program threads are 1, 2, 3, ... in creation order, the
//   constructing thread first; other threads keep ids from a separate range (0x100 and up, multiples of 4).
// - The destructor must run on the thread that holds the baton (normally the constructing thread) or
//   while no program thread runs. Program threads still alive then (blocked or waiting for the baton) are
//   frozen for good, as threads are when a Windows process ends: they never run again, their stacks and
//   the objects they reference stay allocated, and their handles stay unsignalled. Tests that care end
//   their threads first. After it the clock is real again, and a new VirtualTime may be made. (exit()
//   inside virtual time simply ends the process.)
// - The deadlock watchdog is a thread of its own: a death test that runs virtual time in its child must
//   use GoogleTest's "threadsafe" death test style (a forked child has no watchdog).
#pragma once
#include <cstdint>
#include <mutex>

namespace hostsim {

constexpr std::uint64_t kNoDeadline = ~std::uint64_t{0};

// Milliseconds since the clock's start (GetTickCount is its low 32 bits). These three may be called with or
// without the scheduler lock.
std::uint64_t NowMs();
bool IsVirtualTime();
// True on a program thread of the living VirtualTime.
bool IsProgramThread();

// Switches the clock to virtual time for its lifetime; the constructing thread becomes a program thread,
// and so does every thread created through CreateThread while it lives. Not copyable, not nestable.
class VirtualTime {
public:
    explicit VirtualTime(std::uint64_t startMs = 0);
    ~VirtualTime();
    VirtualTime(const VirtualTime&) = delete;
    VirtualTime& operator=(const VirtualTime&) = delete;
};

// How long (real milliseconds) virtual time waits for an outside change before it calls a state with no
// runnable program thread and no deadline a deadlock. Kept across VirtualTime objects.
void SetDeadlockGraceMs(std::uint64_t ms);

// Non-owning view of a predicate, so that blocking allocates nothing.
class ReadyTest {
public:
    template <class F>
    ReadyTest(F& f)
        : m_object(&f), m_call([](void* o) { return static_cast<bool>((*static_cast<F*>(o))()); }) {}
    bool operator()() const { return m_call(m_object); }

private:
    void* m_object;
    bool (*m_call)(void*);
};

// The scheduler's lock guards every piece of state that a blocked thread's ReadyTest reads.
std::unique_lock<std::mutex> LockScheduler();

// Blocks the calling thread, with the scheduler lock held by `lock`, until ready() is true or the clock
// reaches deadlineMs (kNoDeadline: no time-out). Returns true when ready, false on time-out.
//
// Contract:
// - `lock` must hold the lock from LockScheduler(); it is held again when BlockUntil returns (it is let go
//   while the thread waits).
// - ready() is called with the lock held: first by the caller, then by whichever thread calls
//   NotifyChange or moves the clock. It must be quick, must not block and must not call the scheduler.
//   It may take what it waited for (an auto-reset event's signal, a message off a queue): once it has
//   returned true it is not called again for this wait, and BlockUntil returns true.
// - deadlineMs is absolute, in NowMs() units. A deadline already due makes the call a poll: ready() is
//   tested (in virtual time after the caller has let the runnable program threads run once).
// - At the deadline ready() is tested one last time; true then still counts as ready.
// - `what` names the wait in the deadlock report (a string literal, e.g. "WaitForSingleObject").
// - A program thread in virtual time gives up the baton here and holds it again when this returns.
// - Allocates nothing.
bool BlockUntil(std::unique_lock<std::mutex>& lock, ReadyTest ready, std::uint64_t deadlineMs);
bool BlockUntil(std::unique_lock<std::mutex>& lock, ReadyTest ready, std::uint64_t deadlineMs,
                const char* what);

// To be called with the scheduler lock held after changing state that a ReadyTest may read. It tests the
// blocked threads in the order in which they blocked; those now ready become runnable (program threads,
// in that order) or are woken (other threads). The caller keeps running. Allocates nothing.
void NotifyChange(std::unique_lock<std::mutex>& lock);

} // namespace hostsim
