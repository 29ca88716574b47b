// What only the host stand-ins have (hostsim/Clock.h, hostsim/System.h): virtual time, with one program
// thread at a time and a clock that jumps over idle time, deadlock diagnosis, threads outside the program,
// its end, nothing allocated per wait; and the Windows kinds the simulated system answers as. The order in
// which program threads run in virtual time and the kernel trace are what every scenario transcript shows: a
// change to either fails them. The kernel calls themselves are KernelTests, on both backends.
#include <win32api.h>

#include "AllocationCounter.h"
#include "TestClock.h"
#include "hostsim/Clock.h"
#include "hostsim/System.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Ten virtual minutes waited in real time would take ten minutes; the limit is far above what they take here
// (about 0.1 s) so that a busy machine under a sanitizer cannot make it fail, and far below a real wait.
TEST(VirtualTime, TenVirtualMinutesOfHandshakeRunWithoutWaitingInRealTime) {
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
    EXPECT_LT(realMs, 10000) << "ten virtual minutes took " << realMs << " ms of real time";
    CloseHandle(h.uiIdle);
    CloseHandle(h.monitorIdle);
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

class WaitAllocationTest : public ::testing::TestWithParam<testsupport::ClockKind> {};

TEST_P(WaitAllocationTest, WaitsSleepsAndEventsAllocateNothing) {
    TestClock clock(GetParam());
    EXPECT_EQ(AllocationsPerHundredRounds(clock.IsVirtual() ? 1000 : 1), 0u);
}

INSTANTIATE_TEST_SUITE_P(Clocks, WaitAllocationTest, ::testing::ValuesIn(testsupport::AvailableClockKinds()),
                         [](const ::testing::TestParamInfo<testsupport::ClockKind>& info) {
                             return std::string(testsupport::ClockKindName(info.param));
                         });

// --- the simulated system ---------------------------------------------------------------------------------

struct KindCase {
    hostsim::WindowsKind kind;
    const char* name; // as the runner's --kind and the scenario headers spell it
    DWORD platform;
    DWORD major;
    DWORD minor;
    const char* systemDirectory;
};

const KindCase kKinds[] = {
    {hostsim::WindowsKind::Win95, "win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, "C:\\WINDOWS\\SYSTEM"},
    {hostsim::WindowsKind::Win98, "win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, "C:\\WINDOWS\\SYSTEM"},
    {hostsim::WindowsKind::NT4, "nt4", VER_PLATFORM_WIN32_NT, 4, 0, "C:\\WINNT\\system32"},
    {hostsim::WindowsKind::Win2000, "win2000", VER_PLATFORM_WIN32_NT, 5, 0, "C:\\WINNT\\system32"},
    {hostsim::WindowsKind::NtOther, "ntother", VER_PLATFORM_WIN32_NT, 6, 1, "C:\\WINNT\\system32"},
    {hostsim::WindowsKind::Win32s, "win32s", VER_PLATFORM_WIN32s, 3, 10, "C:\\WINDOWS\\SYSTEM"},
};

TEST(System, EachWindowsKindAnswersAsThatWindows) {
    TestClock clock;
    EXPECT_EQ(hostsim::GetWindowsKind(), hostsim::WindowsKind::Win2000); // a fresh system
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.name);
        hostsim::SetWindowsKind(c.kind);
        OSVERSIONINFOEXA info;
        std::memset(&info, 0xAB, sizeof(info));
        info.dwOSVersionInfoSize = 148;
        ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)));
        EXPECT_EQ(info.dwPlatformId, c.platform);
        EXPECT_EQ(info.dwMajorVersion, c.major);
        EXPECT_EQ(info.dwMinorVersion, c.minor);
        EXPECT_LT(std::strlen(info.szCSDVersion), sizeof(info.szCSDVersion));

        // Only the NT family takes the extended record.
        const bool nt = c.platform == VER_PLATFORM_WIN32_NT;
        EXPECT_EQ(hostsim::IsNtFamily(c.kind), nt);
        info.dwOSVersionInfoSize = sizeof(info);
        EXPECT_EQ(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info)) != FALSE, nt);
        if (nt) {
            EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
        }

        char directory[MAX_PATH];
        EXPECT_EQ(std::string(directory, GetSystemDirectoryA(directory, sizeof(directory))),
                  c.systemDirectory);
        EXPECT_STREQ(hostsim::WindowsKindName(c.kind), c.name);
        hostsim::WindowsKind parsed =
            c.kind == hostsim::WindowsKind::Win95 ? hostsim::WindowsKind::Win98 : hostsim::WindowsKind::Win95;
        EXPECT_TRUE(hostsim::ParseWindowsKind(c.name, &parsed));
        EXPECT_EQ(parsed, c.kind);
    }
    hostsim::WindowsKind parsed = hostsim::WindowsKind::Win95;
    EXPECT_TRUE(hostsim::ParseWindowsKind("Win2000", &parsed)); // letter case does not matter
    EXPECT_EQ(parsed, hostsim::WindowsKind::Win2000);
    EXPECT_FALSE(hostsim::ParseWindowsKind("winxp", &parsed));
}

} // namespace
