// The clock and the scheduler of the host stand-ins (hostsim/Clock.h).
//
// One lock guards everything here and every kernel object. In virtual time one program thread holds the
// baton (Scheduler::baton); every blocked thread (program thread or not) is in the list of waiters in the
// order it blocked; runnable program threads are in a FIFO run queue. All lists are intrusive, through
// the thread records, so no wait, wake or hand-over allocates.
#include "Scheduler.h"

#include "NoDestroy.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace hostsim {
namespace detail {
namespace {

using SteadyClock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

struct Scheduler {
    std::mutex mutex;
    std::atomic<bool> virtualMode{false};
    std::atomic<std::uint64_t> virtualNow{0};

    ThreadRecord* baton = nullptr; // the program thread that runs (virtual time)
    ThreadRecord* runHead = nullptr;
    ThreadRecord* runTail = nullptr;
    ThreadRecord* waitHead = nullptr; // every blocked thread, in blocking order
    ThreadRecord* waitTail = nullptr;
    ThreadRecord* progHead = nullptr; // the program threads, in creation order
    ThreadRecord* progTail = nullptr;
    std::uint64_t nextBlockSeq = 0;
    std::uint32_t nextVirtualId = 1;

    // The deadlock watchdog of virtual time.
    std::condition_variable watchdogCv;
    bool stalled = false;
    std::uint64_t stallSerial = 0;
    bool watchdogStop = false;
    std::thread watchdog;
    std::atomic<std::uint64_t> graceMs{5000};
};

Scheduler& S() {
    static NoDestroy<Scheduler> s;
    return s.Get();
}

std::atomic<std::uint32_t> g_nextRealId{0x100};

thread_local ThreadRecord* t_self = nullptr;

[[noreturn]] void Fatal(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::fputs("hostsim: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
    std::fflush(stderr);
    std::abort();
}

void CheckLock(const std::unique_lock<std::mutex>& lock, const char* who) {
    if (!lock.owns_lock() || lock.mutex() != &S().mutex)
        Fatal("%s called without the scheduler lock (LockScheduler)", who);
}

std::uint64_t RealNowMs() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<Ms>(SteadyClock::now().time_since_epoch()).count());
}

// --- intrusive lists -------------------------------------------------------------------------------------

void LinkWaiter(Scheduler& s, ThreadRecord& r) {
    r.waitPrev = s.waitTail;
    r.waitNext = nullptr;
    if (s.waitTail)
        s.waitTail->waitNext = &r;
    else
        s.waitHead = &r;
    s.waitTail = &r;
}

void UnlinkWaiter(Scheduler& s, ThreadRecord& r) {
    if (r.waitPrev)
        r.waitPrev->waitNext = r.waitNext;
    else
        s.waitHead = r.waitNext;
    if (r.waitNext)
        r.waitNext->waitPrev = r.waitPrev;
    else
        s.waitTail = r.waitPrev;
    r.waitPrev = r.waitNext = nullptr;
}

void PushRun(Scheduler& s, ThreadRecord& r) {
    r.state = ThreadRecord::State::Runnable;
    r.runNext = nullptr;
    if (s.runTail)
        s.runTail->runNext = &r;
    else
        s.runHead = &r;
    s.runTail = &r;
}

ThreadRecord* PopRun(Scheduler& s) {
    ThreadRecord* r = s.runHead;
    if (r) {
        s.runHead = r->runNext;
        if (!s.runHead)
            s.runTail = nullptr;
        r->runNext = nullptr;
    }
    return r;
}

void RemoveRun(Scheduler& s, ThreadRecord& r) {
    ThreadRecord* prev = nullptr;
    for (ThreadRecord* p = s.runHead; p; prev = p, p = p->runNext) {
        if (p != &r)
            continue;
        (prev ? prev->runNext : s.runHead) = p->runNext;
        if (s.runTail == p)
            s.runTail = prev;
        p->runNext = nullptr;
        return;
    }
}

void LinkProgram(Scheduler& s, ThreadRecord& r) {
    r.program = true;
    r.progPrev = s.progTail;
    r.progNext = nullptr;
    if (s.progTail)
        s.progTail->progNext = &r;
    else
        s.progHead = &r;
    s.progTail = &r;
}

void UnlinkProgram(Scheduler& s, ThreadRecord& r) {
    if (r.progPrev)
        r.progPrev->progNext = r.progNext;
    else
        s.progHead = r.progNext;
    if (r.progNext)
        r.progNext->progPrev = r.progPrev;
    else
        s.progTail = r.progPrev;
    r.progPrev = r.progNext = nullptr;
    r.program = false;
}

// --- virtual time: handing the baton on ------------------------------------------------------------------

void SetStalled(Scheduler& s, bool stalled) {
    if (s.stalled == stalled)
        return;
    s.stalled = stalled;
    ++s.stallSerial;
    s.watchdogCv.notify_all();
}

// The baton is free: gives it to the first runnable program thread, moving the clock to the next deadline
// first when none is runnable.
void Dispatch(Scheduler& s) {
    for (;;) {
        if (ThreadRecord* next = PopRun(s)) {
            next->state = ThreadRecord::State::Running;
            s.baton = next;
            SetStalled(s, false);
            next->cv.notify_one();
            return;
        }
        std::uint64_t earliest = kNoDeadline;
        for (ThreadRecord* w = s.waitHead; w; w = w->waitNext)
            if (w->program && w->deadline < earliest)
                earliest = w->deadline;
        if (earliest == kNoDeadline) {
            // Only a thread outside the program can still change something: the watchdog decides.
            SetStalled(s, s.progHead != nullptr);
            return;
        }
        if (earliest > s.virtualNow.load(std::memory_order_relaxed))
            s.virtualNow.store(earliest);
        // Every earlier deadline has been served already, so the threads due now all have this deadline,
        // and the list holds them in blocking order.
        for (ThreadRecord* w = s.waitHead; w;) {
            ThreadRecord* following = w->waitNext;
            if (w->program && w->deadline <= earliest) {
                UnlinkWaiter(s, *w);
                w->result =
                    (*w->ready)() ? ThreadRecord::WaitResult::Ready : ThreadRecord::WaitResult::TimedOut;
                PushRun(s, *w);
            }
            w = following;
        }
    }
}

void WaitForBaton(Scheduler& s, std::unique_lock<std::mutex>& lock, ThreadRecord& me) {
    while (s.baton != &me)
        me.cv.wait(lock);
}

const char* StateName(ThreadRecord::State state) {
    switch (state) {
    case ThreadRecord::State::Running:
        return "running";
    case ThreadRecord::State::Runnable:
        return "runnable";
    case ThreadRecord::State::Blocked:
        return "blocked";
    case ThreadRecord::State::Ended:
        return "ended";
    case ThreadRecord::State::Frozen:
        return "frozen";
    }
    return "?";
}

[[noreturn]] void ReportDeadlock(Scheduler& s) {
    std::fprintf(stderr,
                 "hostsim: deadlock in virtual time at %llu ms: every program thread is blocked without a "
                 "time-out, and for %llu ms of real time no other thread made one runnable.\n",
                 static_cast<unsigned long long>(s.virtualNow.load()),
                 static_cast<unsigned long long>(s.graceMs.load()));
    for (ThreadRecord* p = s.progHead; p; p = p->progNext) {
        std::fprintf(stderr, "hostsim:   thread %u", p->id);
        if (p->startRoutine)
            std::fprintf(stderr, " (start routine %p)", p->startRoutine);
        if (p->state == ThreadRecord::State::Blocked) {
            std::fprintf(stderr, ": blocked in %s since %llu ms, ", p->what ? p->what : "BlockUntil",
                         static_cast<unsigned long long>(p->blockedSince));
            if (p->deadline == kNoDeadline)
                std::fprintf(stderr, "no time-out\n");
            else
                std::fprintf(stderr, "time-out at %llu ms\n", static_cast<unsigned long long>(p->deadline));
        } else {
            std::fprintf(stderr, ": %s\n", StateName(p->state));
        }
    }
    std::fflush(stderr);
    std::abort();
}

void WatchdogMain() {
    Scheduler& s = S();
    std::unique_lock<std::mutex> lock(s.mutex);
    for (;;) {
        s.watchdogCv.wait(lock, [&] { return s.watchdogStop || s.stalled; });
        if (s.watchdogStop)
            return;
        const std::uint64_t serial = s.stallSerial;
        const auto until = SteadyClock::now() + Ms(s.graceMs.load());
        const bool moved = s.watchdogCv.wait_until(
            lock, until, [&] { return s.watchdogStop || !s.stalled || s.stallSerial != serial; });
        if (s.watchdogStop)
            return;
        if (!moved)
            ReportDeadlock(s);
    }
}

// --- blocking --------------------------------------------------------------------------------------------

bool BlockProgramThread(Scheduler& s, std::unique_lock<std::mutex>& lock, ThreadRecord& me,
                        const ReadyTest& ready, std::uint64_t deadline, const char* what) {
    if (s.baton != &me)
        Fatal("program thread %u blocked in %s without holding the baton", me.id, what);
    const std::uint64_t now = s.virtualNow.load(std::memory_order_relaxed);
    if (deadline <= now) {
        // A poll: let the runnable threads have their turn first (Sleep(0) yields, as on Windows).
        PushRun(s, me);
        s.baton = nullptr;
        Dispatch(s);
        WaitForBaton(s, lock, me);
        return ready();
    }
    me.ready = &ready;
    me.deadline = deadline;
    me.what = what;
    me.blockSeq = ++s.nextBlockSeq;
    me.blockedSince = now;
    me.result = ThreadRecord::WaitResult::Pending;
    me.state = ThreadRecord::State::Blocked;
    LinkWaiter(s, me);
    s.baton = nullptr;
    Dispatch(s);
    WaitForBaton(s, lock, me);
    me.ready = nullptr;
    return me.result == ThreadRecord::WaitResult::Ready;
}

// Real time, or a thread outside the program in virtual time (its time-out counts in real milliseconds).
bool BlockOtherThread(Scheduler& s, std::unique_lock<std::mutex>& lock, ThreadRecord& me,
                      const ReadyTest& ready, std::uint64_t deadline, const char* what) {
    const bool timed = deadline != kNoDeadline;
    SteadyClock::time_point until{};
    if (timed) {
        if (s.virtualMode.load()) {
            const std::uint64_t now = s.virtualNow.load();
            until = SteadyClock::now() + Ms(deadline > now ? deadline - now : 0);
        } else {
            until = SteadyClock::time_point(std::chrono::duration_cast<SteadyClock::duration>(Ms(deadline)));
        }
    }
    me.ready = &ready;
    me.deadline = deadline;
    me.what = what;
    me.blockSeq = ++s.nextBlockSeq;
    me.blockedSince = NowMs();
    me.result = ThreadRecord::WaitResult::Pending;
    me.state = ThreadRecord::State::Blocked;
    LinkWaiter(s, me);
    while (me.result == ThreadRecord::WaitResult::Pending) {
        if (!timed) {
            me.cv.wait(lock);
        } else if (me.cv.wait_until(lock, until) == std::cv_status::timeout &&
                   me.result == ThreadRecord::WaitResult::Pending) {
            UnlinkWaiter(s, me);
            me.result = ready() ? ThreadRecord::WaitResult::Ready : ThreadRecord::WaitResult::TimedOut;
        }
    }
    me.state = ThreadRecord::State::Running;
    me.ready = nullptr;
    return me.result == ThreadRecord::WaitResult::Ready;
}

} // namespace

// --- thread records and thread life ----------------------------------------------------------------------

ThreadRecord::~ThreadRecord() {
    if (!program)
        return;
    // A program thread's record goes while virtual time lives: the process exits (exit() from inside virtual
    // time) or the thread that made the VirtualTime ended before it. Take it out of the scheduler so that
    // nothing points to it; hand the baton to nobody, so that the other program threads stay where they are.
    Scheduler& s = S();
    std::unique_lock<std::mutex> lock(s.mutex, std::try_to_lock);
    if (!lock.owns_lock())
        return;
    if (state == State::Blocked)
        UnlinkWaiter(s, *this);
    else if (state == State::Runnable)
        RemoveRun(s, *this);
    UnlinkProgram(s, *this);
    if (s.baton == this)
        s.baton = nullptr;
}

ThreadRecord& Self() {
    if (!t_self) {
        thread_local ThreadRecord own;
        if (own.id == 0)
            own.id = NextRealThreadId();
        t_self = &own;
    }
    return *t_self;
}

void SetSelf(ThreadRecord* record) {
    t_self = record;
}

std::uint32_t NextRealThreadId() {
    return g_nextRealId.fetch_add(4);
}

void RegisterNewThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record) {
    CheckLock(lock, "RegisterNewThread");
    Scheduler& s = S();
    if (s.virtualMode.load()) {
        record.id = s.nextVirtualId++;
        LinkProgram(s, record);
        PushRun(s, record); // the creator keeps the baton
    } else {
        record.id = NextRealThreadId();
        record.state = ThreadRecord::State::Running;
    }
}

void UnregisterNewThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record) {
    CheckLock(lock, "UnregisterNewThread");
    Scheduler& s = S();
    if (record.program) {
        if (s.baton == &record)
            s.baton = nullptr;
        RemoveRun(s, record);
        UnlinkProgram(s, record);
        if (s.virtualMode.load() && !s.baton)
            Dispatch(s);
    }
    record.state = ThreadRecord::State::Ended;
}

void WaitForStart(std::unique_lock<std::mutex>& lock, ThreadRecord& record) {
    CheckLock(lock, "WaitForStart");
    Scheduler& s = S();
    if (!record.program && record.state != ThreadRecord::State::Frozen)
        return;
    // Made by a thread outside the program while no program thread ran: nobody handed the baton on yet.
    if (s.virtualMode.load() && !s.baton)
        Dispatch(s);
    WaitForBaton(s, lock, record);
}

void EndThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record) {
    CheckLock(lock, "EndThread");
    Scheduler& s = S();
    record.state = ThreadRecord::State::Ended;
    if (!record.program)
        return;
    UnlinkProgram(s, record);
    if (s.baton == &record) {
        s.baton = nullptr;
        Dispatch(s);
    }
}

} // namespace detail

using detail::S;
using detail::Self;
using detail::ThreadRecord;

// --- the public clock ------------------------------------------------------------------------------------

std::uint64_t NowMs() {
    auto& s = S();
    if (s.virtualMode.load())
        return s.virtualNow.load();
    return detail::RealNowMs();
}

bool IsVirtualTime() {
    return S().virtualMode.load();
}

// Lock-free: only the thread itself changes its own flag while it runs (the end of virtual time changes
// it for the others only while they are blocked).
bool IsProgramThread() {
    return Self().program;
}

void SetDeadlockGraceMs(std::uint64_t ms) {
    S().graceMs.store(ms);
}

std::unique_lock<std::mutex> LockScheduler() {
    return std::unique_lock<std::mutex>(S().mutex);
}

VirtualTime::VirtualTime(std::uint64_t startMs) {
    auto& s = S();
    auto lock = LockScheduler();
    if (s.virtualMode.load())
        detail::Fatal("VirtualTime is not nestable: one already lives");
    ThreadRecord& me = Self();
    s.virtualNow.store(startMs);
    s.nextVirtualId = 1;
    s.nextBlockSeq = 0;
    s.stalled = false;
    s.watchdogStop = false;
    me.realId = me.id;
    me.id = s.nextVirtualId++;
    me.state = ThreadRecord::State::Running;
    detail::LinkProgram(s, me);
    s.baton = &me;
    s.virtualMode.store(true);
    s.watchdog = std::thread(detail::WatchdogMain);
}

VirtualTime::~VirtualTime() {
    auto& s = S();
    std::thread watchdog;
    {
        auto lock = LockScheduler();
        ThreadRecord& me = Self();
        if (s.baton && s.baton != &me)
            detail::Fatal("VirtualTime ended on thread %u while program thread %u runs", me.id, s.baton->id);
        // Freeze the program threads that are still alive, as a process's end stops its threads.
        for (ThreadRecord* p = s.progHead; p;) {
            ThreadRecord* next = p->progNext;
            if (p != &me) {
                if (p->state == ThreadRecord::State::Blocked)
                    detail::UnlinkWaiter(s, *p);
                p->state = ThreadRecord::State::Frozen;
                p->program = false;
                p->progPrev = p->progNext = nullptr;
                p->runNext = nullptr;
            }
            p = next;
        }
        s.progHead = s.progTail = nullptr;
        s.runHead = s.runTail = nullptr;
        if (me.program) {
            me.program = false;
            me.progPrev = me.progNext = nullptr;
            me.id = me.realId ? me.realId : detail::NextRealThreadId();
            me.realId = 0;
        }
        s.baton = nullptr;
        s.stalled = false;
        s.virtualMode.store(false);
        s.watchdogStop = true;
        s.watchdogCv.notify_all();
        watchdog = std::move(s.watchdog);
    }
    if (watchdog.joinable())
        watchdog.join();
}

bool BlockUntil(std::unique_lock<std::mutex>& lock, ReadyTest ready, std::uint64_t deadlineMs) {
    return BlockUntil(lock, ready, deadlineMs, "BlockUntil");
}

bool BlockUntil(std::unique_lock<std::mutex>& lock, ReadyTest ready, std::uint64_t deadlineMs,
                const char* what) {
    detail::CheckLock(lock, "BlockUntil");
    if (!what)
        what = "BlockUntil";
    if (ready())
        return true;
    auto& s = S();
    ThreadRecord& me = Self();
    if (me.program)
        return detail::BlockProgramThread(s, lock, me, ready, deadlineMs, what);
    return detail::BlockOtherThread(s, lock, me, ready, deadlineMs, what);
}

void NotifyChange(std::unique_lock<std::mutex>& lock) {
    detail::CheckLock(lock, "NotifyChange");
    auto& s = S();
    for (ThreadRecord* w = s.waitHead; w;) {
        ThreadRecord* following = w->waitNext;
        if ((*w->ready)()) {
            detail::UnlinkWaiter(s, *w);
            w->result = ThreadRecord::WaitResult::Ready;
            if (w->program)
                detail::PushRun(s, *w);
            else
                w->cv.notify_one();
        }
        w = following;
    }
    if (s.virtualMode.load() && !s.baton)
        detail::Dispatch(s);
}

} // namespace hostsim
