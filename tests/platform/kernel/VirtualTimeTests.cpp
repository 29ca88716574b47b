// Virtual time of the host stand-ins (hostsim/Clock.h): one program thread at a time, a clock that jumps
// over idle time, a deterministic order, deadlock diagnosis, nothing allocated per wait.
#include <win32api.h>

#include "AllocationCounter.h"
#include "TestClock.h"
#include "hostsim/Clock.h"
#include "hostsim/KernelTrace.h"
#include "hostsim/System.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using testsupport::TestClock;

namespace {

// A line of the trace: debugger output carries the thread id; the text carries the tick count.
void Trace(const char* format, ...) {
    char text[160];
    int n = std::snprintf(text, sizeof(text), "%u ", GetTickCount());
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(text + n, sizeof(text) - static_cast<std::size_t>(n), format, args);
    va_end(args);
    OutputDebugStringA(text);
}

std::vector<std::string> TraceLines() {
    std::vector<std::string> lines;
    for (const hostsim::SystemRecord& r : hostsim::SystemRecords())
        lines.push_back("thread " + std::to_string(r.threadId) + ": " + r.text);
    return lines;
}

HANDLE NewEvent(BOOL manualReset, BOOL initialState) {
    return CreateEventA(nullptr, manualReset, initialState, nullptr);
}

void EndAndClose(HANDLE thread) {
    ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
}

// --- the handshake of the sheet and the monitor thread, for ten virtual minutes ----------

struct Handshake {
    HANDLE uiIdle = nullptr;
    HANDLE monitorIdle = nullptr;
    bool stop = false;
    int monitorCycles = 0;
};

DWORD WINAPI MonitorLoop(LPVOID param) {
    auto* h = static_cast<Handshake*>(param);
    while (!h->stop) {
        ResetEvent(h->monitorIdle);
        WaitForSingleObject(h->uiIdle, 2000);
        Sleep(7); // the cycle's requests
        ++h->monitorCycles;
        SetEvent(h->monitorIdle);
        Sleep(1000);
    }
    return 0;
}

TEST(VirtualTime, TenVirtualMinutesOfHandshakeRunInWellUnderASecond) {
    const auto realStart = std::chrono::steady_clock::now();
    TestClock clock;
    Handshake h;
    h.uiIdle = NewEvent(TRUE, TRUE);
    h.monitorIdle = NewEvent(TRUE, FALSE);
    HANDLE monitor = CreateThread(nullptr, 0, MonitorLoop, &h, 0, nullptr);
    ASSERT_NE(monitor, nullptr);
    int uiCycles = 0;
    while (GetTickCount() < 10 * 60 * 1000) {
        ResetEvent(h.uiIdle);
        WaitForSingleObject(h.monitorIdle, 2000);
        Sleep(3); // a page's requests
        ++uiCycles;
        SetEvent(h.uiIdle);
        Sleep(700);
    }
    h.stop = true;
    EndAndClose(monitor);
    const auto realMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - realStart)
            .count();

    EXPECT_GE(hostsim::NowMs(), 600000u);
    EXPECT_LT(hostsim::NowMs(), 603000u);
    EXPECT_GT(uiCycles, 500);
    EXPECT_GT(h.monitorCycles, 500);
    EXPECT_LT(realMs, 1000) << "ten virtual minutes took " << realMs << " ms of real time";
    CloseHandle(h.uiIdle);
    CloseHandle(h.monitorIdle);
}

// --- determinism -----------------------------------------------------------------------------------------

struct Mesh {
    HANDLE ping = nullptr; // auto reset
    HANDLE gate = nullptr; // manual reset
    int rounds = 0;
};

DWORD WINAPI MeshWorker(LPVOID param) {
    auto* m = static_cast<Mesh*>(param);
    const DWORD me = GetCurrentThreadId();
    for (int i = 0; i < m->rounds; ++i) {
        const DWORD r = WaitForSingleObject(m->ping, 13 * me + 5);
        Trace("wait %d -> %s", i, r == WAIT_OBJECT_0 ? "ping" : "time-out");
        if ((i + me) % 3 == 0)
            SetEvent(m->ping);
        Sleep(11 * me);
        if (WaitForSingleObject(m->gate, 0) == WAIT_OBJECT_0)
            Trace("gate open");
    }
    return me;
}

std::vector<std::string> RunMesh() {
    TestClock clock;
    Mesh m;
    m.ping = NewEvent(FALSE, FALSE);
    m.gate = NewEvent(TRUE, FALSE);
    m.rounds = 12;
    HANDLE threads[3];
    for (HANDLE& t : threads)
        t = CreateThread(nullptr, 0, MeshWorker, &m, 0, nullptr);
    for (int i = 0; i < 8; ++i) {
        Sleep(17);
        SetEvent(m.ping);
        if (i == 4)
            SetEvent(m.gate);
        Trace("main %d", i);
    }
    WaitForMultipleObjects(3, threads, TRUE, INFINITE);
    for (HANDLE t : threads) {
        DWORD code = 0;
        GetExitCodeThread(t, &code);
        Trace("thread %u ended", code);
        CloseHandle(t);
    }
    CloseHandle(m.ping);
    CloseHandle(m.gate);
    return TraceLines();
}

TEST(VirtualTime, SameSequenceGivesTheSameTrace) {
    const std::vector<std::string> first = RunMesh();
    const std::vector<std::string> second = RunMesh();
    ASSERT_GT(first.size(), 40u);
    EXPECT_EQ(first, second);
    // Program threads are numbered in creation order, the clock's own thread first.
    EXPECT_EQ(first.back().rfind("thread 1: ", 0), 0u) << first.back();
    EXPECT_NE(first.back().find("thread 4 ended"), std::string::npos) << first.back();
    for (const std::string& line : first)
        EXPECT_TRUE(line.rfind("thread 1: ", 0) == 0 || line.rfind("thread 2: ", 0) == 0 ||
                    line.rfind("thread 3: ", 0) == 0 || line.rfind("thread 4: ", 0) == 0)
            << line;
}

// --- the clock -------------------------------------------------------------------------------------------

TEST(VirtualTime, TickCountIsTheLow32BitsOfTheClock) {
    hostsim::VirtualTime clock(0xFFFFFF00u);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);
    Sleep(0x200);
    EXPECT_EQ(hostsim::NowMs(), 0x100000100u);
    EXPECT_EQ(GetTickCount(), 0x100u);
}

DWORD WINAPI SleepAndTrace(LPVOID param) {
    const DWORD ms = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(param));
    Sleep(ms);
    Trace("slept %u", ms);
    return 0;
}

DWORD WINAPI SleepThenWait(LPVOID) {
    HANDLE never = NewEvent(TRUE, FALSE);
    Sleep(50);
    const DWORD r = WaitForSingleObject(never, 50); // due at 100, blocked after the sleeper below
    Trace("waited %s", r == WAIT_TIMEOUT ? "time-out" : "?");
    CloseHandle(never);
    return 0;
}

TEST(VirtualTime, DueThreadsWakeInDeadlineThenBlockingOrder) {
    TestClock clock;
    auto ms = [](ULONG_PTR v) { return reinterpret_cast<LPVOID>(v); };
    HANDLE threads[4] = {
        CreateThread(nullptr, 0, SleepThenWait, nullptr, 0, nullptr), // thread 2: due at 100, blocks at 50
        CreateThread(nullptr, 0, SleepAndTrace, ms(100), 0, nullptr), // thread 3: due at 100, blocks at 0
        CreateThread(nullptr, 0, SleepAndTrace, ms(40), 0, nullptr),  // thread 4: due at 40
        CreateThread(nullptr, 0, SleepAndTrace, ms(100), 0, nullptr), // thread 5: due at 100, blocks at 0
    };
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE t : threads)
        CloseHandle(t);
    const std::vector<std::string> expected = {
        "thread 4: 40 slept 40",
        "thread 3: 100 slept 100",
        "thread 5: 100 slept 100",
        "thread 2: 100 waited time-out",
    };
    EXPECT_EQ(TraceLines(), expected);
}

// --- who runs --------------------------------------------------------------------------------------------

DWORD WINAPI TraceOnce(LPVOID param) {
    Trace("%s", static_cast<const char*>(param));
    return 0;
}

TEST(VirtualTime, NewThreadsRunInCreationOrderOnceTheCreatorBlocks) {
    TestClock clock;
    EXPECT_EQ(GetCurrentThreadId(), 1u);
    DWORD id2 = 0;
    DWORD id3 = 0;
    HANDLE t2 = CreateThread(nullptr, 0, TraceOnce, const_cast<char*>("second"), 0, &id2);
    HANDLE t3 = CreateThread(nullptr, 0, TraceOnce, const_cast<char*>("third"), 0, &id3);
    EXPECT_EQ(id2, 2u);
    EXPECT_EQ(id3, 3u);
    Trace("creator still running");
    Sleep(0); // a yield: both run before the creator goes on
    Trace("creator again");
    EndAndClose(t2);
    EndAndClose(t3);
    const std::vector<std::string> expected = {
        "thread 1: 0 creator still running",
        "thread 2: 0 second",
        "thread 3: 0 third",
        "thread 1: 0 creator again",
    };
    EXPECT_EQ(TraceLines(), expected);
}

DWORD WINAPI WaitParamThenTrace(LPVOID param) {
    WaitForSingleObject(static_cast<HANDLE>(param), INFINITE);
    Trace("woken");
    return 0;
}

TEST(VirtualTime, SettingAnEventKeepsTheSetterRunning) {
    TestClock clock;
    HANDLE e = NewEvent(TRUE, FALSE);
    HANDLE t = CreateThread(nullptr, 0, WaitParamThenTrace, e, 0, nullptr);
    Sleep(10); // the thread blocks on the event
    SetEvent(e);
    Trace("setter goes on");
    EndAndClose(t);
    const std::vector<std::string> expected = {"thread 1: 10 setter goes on", "thread 2: 10 woken"};
    EXPECT_EQ(TraceLines(), expected);
    CloseHandle(e);
}

// --- BlockUntil and NotifyChange, the primitive other stand-ins build on ---------------------------------

struct Tokens {
    int available = 0; // guarded by the scheduler lock
};
Tokens g_tokens;

DWORD WINAPI TakeToken(LPVOID) {
    auto lock = hostsim::LockScheduler();
    auto take = [] {
        if (g_tokens.available == 0)
            return false;
        --g_tokens.available; // a ready test may take what it waited for
        return true;
    };
    const bool got = hostsim::BlockUntil(lock, take, hostsim::kNoDeadline, "TakeToken");
    lock.unlock();
    Trace("took %s", got ? "a token" : "nothing");
    return 0;
}

void AddToken() {
    auto lock = hostsim::LockScheduler();
    ++g_tokens.available;
    hostsim::NotifyChange(lock);
}

TEST(VirtualTime, EachChangeWakesTheWaitersItSatisfiesInBlockingOrder) {
    TestClock clock;
    g_tokens.available = 0;
    HANDLE a = CreateThread(nullptr, 0, TakeToken, nullptr, 0, nullptr);
    HANDLE b = CreateThread(nullptr, 0, TakeToken, nullptr, 0, nullptr);
    Sleep(5);
    AddToken();
    Sleep(5);
    Trace("one token given");
    AddToken();
    EndAndClose(a);
    EndAndClose(b);
    const std::vector<std::string> expected = {
        "thread 2: 5 took a token",
        "thread 1: 10 one token given",
        "thread 3: 10 took a token",
    };
    EXPECT_EQ(TraceLines(), expected);
    EXPECT_EQ(g_tokens.available, 0);
}

// --- threads outside the program -------------------------------------------------------------------------

TEST(VirtualTime, AHelperThreadWaitsInRealTimeAndCanWakeAProgramThread) {
    TestClock clock;
    HANDLE wake = NewEvent(FALSE, FALSE);
    HANDLE never = NewEvent(TRUE, FALSE);
    EXPECT_TRUE(hostsim::IsProgramThread());
    bool helperWasProgramThread = true;
    DWORD helperId = 0;
    DWORD helperResult = 0;
    long long helperRealMs = 0;
    std::thread helper([&] {
        helperWasProgramThread = hostsim::IsProgramThread();
        helperId = GetCurrentThreadId();
        const auto start = std::chrono::steady_clock::now();
        helperResult = WaitForSingleObject(never, 40);
        helperRealMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        SetEvent(wake);
    });
    Sleep(60000); // virtual: returns at once in real time
    EXPECT_EQ(hostsim::NowMs(), 60000u);
    EXPECT_EQ(WaitForSingleObject(wake, INFINITE), WAIT_OBJECT_0);
    helper.join();
    EXPECT_EQ(hostsim::NowMs(), 60000u); // waiting for the helper did not move virtual time
    EXPECT_FALSE(helperWasProgramThread);
    EXPECT_GE(helperId, 0x100u);
    EXPECT_EQ(helperResult, WAIT_TIMEOUT);
    EXPECT_GE(helperRealMs, 39);
    CloseHandle(wake);
    CloseHandle(never);
}

// --- deadlock --------------------------------------------------------------------------------------------

DWORD WINAPI WaitParamForever(LPVOID param) {
    return WaitForSingleObject(static_cast<HANDLE>(param), INFINITE);
}

TEST(VirtualTimeDeathTest, DeadlockIsReportedWithTheBlockedThreads) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            hostsim::SetDeadlockGraceMs(50);
            hostsim::VirtualTime clock(500);
            HANDLE e = NewEvent(TRUE, FALSE);
            CreateThread(nullptr, 0, WaitParamForever, e, 0, nullptr);
            Sleep(100);
            WaitForSingleObject(e, INFINITE);
        },
        "deadlock in virtual time at 600 ms.*thread 1: blocked in WaitForSingleObject since 600 ms, no "
        "time-out"
        ".*thread 2 \\(start routine 0x[0-9a-f]+\\): blocked in WaitForSingleObject since 500 ms, no "
        "time-out");
}

TEST(VirtualTimeDeathTest, VirtualTimeIsNotNestable) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            hostsim::VirtualTime outer;
            hostsim::VirtualTime inner;
        },
        "not nestable");
}

TEST(VirtualTimeDeathTest, ExitInsideVirtualTimeEndsTheProcessNormally) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            hostsim::VirtualTime clock;
            HANDLE e = NewEvent(TRUE, FALSE);
            CreateThread(nullptr, 0, WaitParamForever, e, 0, nullptr);
            Sleep(10);
            std::exit(3);
        },
        ::testing::ExitedWithCode(3), "");
}

// --- the end of virtual time -----------------------------------------------------------------------------

TEST(VirtualTime, ThreadsAliveAtTheEndAreFrozenAndTimeIsRealAgain) {
    hostsim::ResetSystem();
    const DWORD realId = GetCurrentThreadId();
    EXPECT_GE(realId, 0x100u);
    HANDLE sleeper = nullptr;
    {
        hostsim::VirtualTime clock;
        EXPECT_EQ(GetCurrentThreadId(), 1u);
        sleeper =
            CreateThread(nullptr, 0, SleepAndTrace, reinterpret_cast<LPVOID>(ULONG_PTR{1000}), 0, nullptr);
        Sleep(10); // it blocks in its sleep
    }
    EXPECT_FALSE(hostsim::IsVirtualTime());
    EXPECT_FALSE(hostsim::IsProgramThread());
    EXPECT_EQ(GetCurrentThreadId(), realId);
    EXPECT_EQ(WaitForSingleObject(sleeper, 30), WAIT_TIMEOUT); // real time now; the thread never runs again
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(sleeper, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    CloseHandle(sleeper);
    EXPECT_TRUE(hostsim::DebugStrings().empty());

    // A new virtual time starts afresh.
    hostsim::VirtualTime again(5);
    EXPECT_EQ(GetCurrentThreadId(), 1u);
    EXPECT_EQ(GetTickCount(), 5u);
}

// --- no allocation in steady state -----------------------------------------------------------------------

struct PingPong {
    HANDLE ping = nullptr;
    HANDLE pong = nullptr;
    HANDLE both[2] = {nullptr, nullptr};
    int rounds = 0;
    DWORD sleepMs = 0;
};

DWORD WINAPI Ponger(LPVOID param) {
    auto* p = static_cast<PingPong*>(param);
    for (int i = 0; i < p->rounds; ++i) {
        WaitForSingleObject(p->ping, INFINITE);
        Sleep(p->sleepMs);
        SetEvent(p->pong);
    }
    return 0;
}

// One round: the handshake calls and a wait on several objects, as a monitor cycle does them.
void Ping(PingPong& p) {
    ResetEvent(p.pong);
    SetEvent(p.ping);
    WaitForSingleObject(p.pong, 5000);
    WaitForMultipleObjects(2, p.both, FALSE, 0);
    Sleep(p.sleepMs);
    (void)GetTickCount();
    (void)GetCurrentThreadId();
}

std::uint64_t AllocationsPerHundredRounds(DWORD sleepMs) {
    PingPong p;
    p.ping = NewEvent(FALSE, FALSE);
    p.pong = NewEvent(TRUE, FALSE);
    p.both[0] = p.ping;
    p.both[1] = p.pong;
    p.rounds = 110;
    p.sleepMs = sleepMs;
    HANDLE t = CreateThread(nullptr, 0, Ponger, &p, 0, nullptr);
    for (int i = 0; i < 10; ++i)
        Ping(p);
    const std::uint64_t before = testsupport::AllocationCount();
    for (int i = 0; i < 100; ++i)
        Ping(p);
    const std::uint64_t allocations = testsupport::AllocationCount() - before;
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    CloseHandle(p.ping);
    CloseHandle(p.pong);
    return allocations;
}

TEST(VirtualTime, WaitsSleepsAndEventsAllocateNothing) {
    TestClock clock;
    EXPECT_EQ(AllocationsPerHundredRounds(1000), 0u);
}

TEST(RealTime, WaitsSleepsAndEventsAllocateNothing) {
    TestClock clock(testsupport::ClockKind::Real);
    EXPECT_EQ(AllocationsPerHundredRounds(1), 0u);
}

// The kernel trace: each set and reset, each wait as it starts and ends with its result, each thread's exit
// code, in the order the threads acted on the clock.
DWORD WINAPI SignalLater(LPVOID event) {
    Sleep(300);
    SetEvent(static_cast<HANDLE>(event));
    return 7;
}

TEST(VirtualTime, TheKernelTraceShowsEventsWaitsAndThreadExits) {
    std::vector<std::string> lines;
    {
        hostsim::VirtualTime time(0);
        HANDLE event = NewEvent(TRUE, FALSE);
        hostsim::SetKernelTraceSink([&lines, event](const hostsim::KernelRecord& r) {
            const std::string who = "t" + std::to_string(r.threadId) + " ";
            const std::string what = r.handle == reinterpret_cast<std::uintptr_t>(event) ? "event" : "other";
            switch (r.kind) {
            case hostsim::KernelRecord::Kind::SetEvent:
                lines.push_back(who + "set " + what);
                break;
            case hostsim::KernelRecord::Kind::ResetEvent:
                lines.push_back(who + "reset " + what);
                break;
            case hostsim::KernelRecord::Kind::WaitStart:
                lines.push_back(who + "wait " + what + " " + std::to_string(r.limitMs));
                break;
            case hostsim::KernelRecord::Kind::WaitEnd:
                lines.push_back(who + "waited " + what + " -> " + std::to_string(r.result) + " after " +
                                std::to_string(r.waitedMs));
                break;
            case hostsim::KernelRecord::Kind::ThreadExit:
                lines.push_back(who + "exits " + std::to_string(r.exitCode));
                break;
            }
        });
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 200));
        HANDLE thread = CreateThread(nullptr, 0, SignalLater, event, 0, nullptr);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 2000));
        ResetEvent(event);
        EndAndClose(thread);
        hostsim::SetKernelTraceSink(nullptr);
        SetEvent(event);
        CloseHandle(event);
    }
    // The thread that sets the event keeps running, to its end, before the waiter goes on.
    EXPECT_EQ((std::vector<std::string>{"t1 wait event 200", "t1 waited event -> 258 after 200",
                                        "t1 wait event 2000", "t2 set event", "t2 exits 7",
                                        "t1 waited event -> 0 after 300", "t1 reset event",
                                        "t1 wait other 4294967295", "t1 waited other -> 0 after 0"}),
              lines);
}

} // namespace
