// The kernel calls the program relies on, written against <win32api.h> only: the same tests run on the
// host stand-ins (in real and in virtual time) and on Windows (under Wine), where they check that the
// stand-ins behave like the real thing. Real time-outs are kept short.
#include <win32api.h>

#include "TestClock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using testsupport::ClockKind;
using testsupport::TestClock;

namespace {

// GetTickCount on real Windows advances in steps of 10 to 16 ms.
constexpr DWORD kTickSlack = 16;
// Generous upper bound for "returned at once" and "did not hang" in real time.
constexpr DWORD kPromptly = 1000;

class KernelTest : public ::testing::TestWithParam<ClockKind> {
protected:
    void SetUp() override { m_clock = std::make_unique<TestClock>(GetParam()); }
    void TearDown() override { m_clock.reset(); }

    bool Virtual() const { return m_clock && m_clock->IsVirtual(); }

    // A wait of `ms` took `elapsed`: exactly in virtual time, within the tick granularity in real time.
    void ExpectLasted(DWORD elapsed, DWORD ms) const {
        if (Virtual()) {
            EXPECT_EQ(elapsed, ms);
        } else {
            EXPECT_GE(elapsed + kTickSlack, ms);
            EXPECT_LT(elapsed, ms + kPromptly);
        }
    }

    std::unique_ptr<TestClock> m_clock;
};

HANDLE NewEvent(BOOL manualReset, BOOL initialState) {
    return CreateEventA(nullptr, manualReset, initialState, nullptr);
}

// Runs `failed` (a call that answers whether it reported failure) on a cleared last error, and checks that
// it failed and left `error` behind.
template <typename Call> testing::AssertionResult FailsWith(DWORD error, Call failed) {
    SetLastError(0);
    if (!failed())
        return testing::AssertionFailure() << "the call succeeded";
    if (GetLastError() != error)
        return testing::AssertionFailure() << "last error " << GetLastError() << ", expected " << error;
    return testing::AssertionSuccess();
}

// --- thread routines -------------------------------------------------------------------------------------

struct ThreadArgs {
    HANDLE go = nullptr;   // waited for before anything else
    HANDLE done = nullptr; // set at the end
    DWORD delay = 0;       // slept before setting `done`
    DWORD result = 0;      // returned
    LONG volatile* counter = nullptr;
    DWORD seenId = 0;
    DWORD seenError = 0;
    bool afterExitThread = false;
};

DWORD WINAPI WaitGoThenReturn(LPVOID param) {
    auto* args = static_cast<ThreadArgs*>(param);
    args->seenId = GetCurrentThreadId();
    WaitForSingleObject(args->go, INFINITE);
    if (args->counter)
        InterlockedIncrement(args->counter);
    const DWORD result = args->result;
    if (args->done)
        SetEvent(args->done); // the last use of the arguments, which may go away now
    return result;
}

DWORD WINAPI SleepThenSet(LPVOID param) {
    auto* args = static_cast<ThreadArgs*>(param);
    Sleep(args->delay);
    SetEvent(args->done);
    return 0;
}

void EndThisThread(ThreadArgs* args) {
    ExitThread(args->result);
}

DWORD WINAPI CallsExitThread(LPVOID param) {
    auto* args = static_cast<ThreadArgs*>(param);
    EndThisThread(args);
    args->afterExitThread = true; // never reached
    return 1;
}

DWORD WINAPI OwnLastError(LPVOID param) {
    auto* args = static_cast<ThreadArgs*>(param);
    args->seenError = GetLastError(); // a new thread starts with 0
    SetLastError(5678);
    Sleep(20);
    args->result = GetLastError();
    return 0;
}

// --- events ----------------------------------------------------------------------------------------------

TEST_P(KernelTest, ManualResetEventStaysSignalledUntilReset) {
    SetLastError(1234);
    HANDLE e = NewEvent(TRUE, FALSE);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(GetLastError(), 0u); // creating an event clears the last error
    SetLastError(555);             // which the successful calls below leave alone
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 20), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(ResetEvent(e)); // resetting a reset event is fine
    EXPECT_EQ(GetLastError(), 555u);
    EXPECT_TRUE(CloseHandle(e));

    HANDLE on = NewEvent(TRUE, TRUE);
    EXPECT_EQ(WaitForSingleObject(on, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(on, 0), WAIT_OBJECT_0);
    CloseHandle(on);
}

TEST_P(KernelTest, AutoResetEventSatisfiesOneWaitPerSignal) {
    HANDLE e = NewEvent(FALSE, TRUE);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0); // created signalled
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_TRUE(SetEvent(e)); // signals do not add up
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(e));
    EXPECT_TRUE(ResetEvent(e));
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST_P(KernelTest, NamedEventIsOpenedAgainByItsName) {
    SetLastError(1234);
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, "WlanKernelTestsNamedEvent");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    HANDLE second =
        CreateEventA(nullptr, FALSE, TRUE, "WlanKernelTestsNamedEvent"); // flags of the first count
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_NE(first, second);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(first));
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0); // manual reset, as first made
    CloseHandle(first);
    CloseHandle(second);
    HANDLE fresh = CreateEventA(nullptr, TRUE, FALSE, "WlanKernelTestsNamedEvent"); // the last handle went
    EXPECT_EQ(GetLastError(), 0u);
    CloseHandle(fresh);
}

// --- waits and time --------------------------------------------------------------------------------------

TEST_P(KernelTest, TimedWaitsAndSleepsLastTheirTime) {
    HANDLE e = NewEvent(TRUE, FALSE);
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(e, 50), WAIT_TIMEOUT);
    ExpectLasted(GetTickCount() - start, 50);
    start = GetTickCount();
    Sleep(30);
    ExpectLasted(GetTickCount() - start, 30);
    start = GetTickCount();
    Sleep(0); // a yield, returns at once
    ExpectLasted(GetTickCount() - start, 0);
    CloseHandle(e);
}

TEST_P(KernelTest, EventSetByAnotherThreadEndsAnEndlessWait) {
    ThreadArgs args;
    args.done = NewEvent(TRUE, FALSE);
    args.delay = 40;
    const DWORD start = GetTickCount();
    HANDLE thread = CreateThread(nullptr, 0, SleepThenSet, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(args.done, INFINITE), WAIT_OBJECT_0);
    ExpectLasted(GetTickCount() - start, 40);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(args.done);
}

TEST_P(KernelTest, ManualResetEventReleasesEveryWaiter) {
    HANDLE go = NewEvent(TRUE, FALSE);
    LONG volatile counter = 0;
    ThreadArgs args[3];
    HANDLE threads[3];
    for (int i = 0; i < 3; ++i) {
        args[i].go = go;
        args[i].counter = &counter;
        threads[i] = CreateThread(nullptr, 0, WaitGoThenReturn, &args[i], 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
    }
    Sleep(20); // let them block
    EXPECT_EQ(counter, 0);
    EXPECT_TRUE(SetEvent(go));
    EXPECT_EQ(WaitForMultipleObjects(3, threads, TRUE, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(counter, 3);
    for (HANDLE t : threads)
        CloseHandle(t);
    CloseHandle(go);
}

TEST_P(KernelTest, AutoResetEventReleasesOneWaiterPerSignal) {
    HANDLE go = NewEvent(FALSE, FALSE);
    HANDLE woke = NewEvent(FALSE, FALSE);
    LONG volatile counter = 0;
    ThreadArgs args[2];
    HANDLE threads[2];
    for (int i = 0; i < 2; ++i) {
        args[i].go = go;
        args[i].done = woke;
        args[i].counter = &counter;
        threads[i] = CreateThread(nullptr, 0, WaitGoThenReturn, &args[i], 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
    }
    Sleep(20);
    EXPECT_TRUE(SetEvent(go));
    EXPECT_EQ(WaitForSingleObject(woke, 2000), WAIT_OBJECT_0);
    Sleep(30); // room for a wrong second wake-up
    EXPECT_EQ(counter, 1);
    // One thread ends, the other still waits.
    const DWORD ended = WaitForMultipleObjects(2, threads, FALSE, 2000) - WAIT_OBJECT_0;
    ASSERT_LT(ended, 2u);
    EXPECT_EQ(WaitForSingleObject(threads[1 - ended], 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(go));
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(WaitForSingleObject(go, 0), WAIT_TIMEOUT); // each signal was taken by one thread
    for (HANDLE t : threads)
        CloseHandle(t);
    CloseHandle(go);
    CloseHandle(woke);
}

struct SectionArgs {
    CRITICAL_SECTION* cs;
    HANDLE tried;
    BOOL entered;
};

DWORD WINAPI TryTheSection(LPVOID p) {
    auto* args = static_cast<SectionArgs*>(p);
    args->entered = TryEnterCriticalSection(args->cs);
    if (args->entered)
        LeaveCriticalSection(args->cs);
    SetEvent(args->tried);
    EnterCriticalSection(args->cs); // waits until the owner has left it completely
    LeaveCriticalSection(args->cs);
    return 0;
}

TEST_P(KernelTest, CriticalSectionKeepsOutOtherThreadsUntilLeftCompletely) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs); // the owner may enter again
    SectionArgs args{&cs, NewEvent(TRUE, FALSE), TRUE};
    HANDLE thread = CreateThread(nullptr, 0, TryTheSection, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(args.tried, 2000), WAIT_OBJECT_0);
    EXPECT_FALSE(args.entered);
    LeaveCriticalSection(&cs);
    EXPECT_EQ(WaitForSingleObject(thread, 50), WAIT_TIMEOUT); // still held once
    LeaveCriticalSection(&cs);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(args.tried);
    DeleteCriticalSection(&cs);
}

TEST_P(KernelTest, WaitForAnyReportsTheFirstSignalledObject) {
    HANDLE e[3] = {NewEvent(FALSE, FALSE), NewEvent(FALSE, TRUE), NewEvent(TRUE, TRUE)};
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForSingleObject(e[1], 0), WAIT_TIMEOUT); // the auto-reset event was taken
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, e, FALSE, 0), WAIT_OBJECT_0 + 2); // manual reset stays
    for (HANDLE h : e)
        CloseHandle(h);
}

TEST_P(KernelTest, WaitForAllTakesNothingUntilEverythingIsSignalled) {
    HANDLE e[2] = {NewEvent(FALSE, TRUE), NewEvent(FALSE, FALSE)};
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitForMultipleObjects(2, e, TRUE, 30), WAIT_TIMEOUT);
    ExpectLasted(GetTickCount() - start, 30);
    EXPECT_EQ(WaitForSingleObject(e[0], 0), WAIT_OBJECT_0); // still signalled: the failed wait took nothing
    EXPECT_TRUE(SetEvent(e[0]));
    EXPECT_TRUE(SetEvent(e[1]));
    EXPECT_EQ(WaitForMultipleObjects(2, e, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e[0], 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(e[1], 0), WAIT_TIMEOUT);
    for (HANDLE h : e)
        CloseHandle(h);
}

TEST_P(KernelTest, WaitForMultipleObjectsChecksItsArguments) {
    HANDLE e = NewEvent(TRUE, TRUE);
    HANDLE withNull[2] = {e, nullptr};
    EXPECT_TRUE(FailsWith(ERROR_INVALID_PARAMETER,
                          [&] { return WaitForMultipleObjects(0, withNull, FALSE, 0) == WAIT_FAILED; }));
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE,
                          [&] { return WaitForMultipleObjects(2, withNull, FALSE, 0) == WAIT_FAILED; }));
    CloseHandle(e);
}

// --- bad handles -----------------------------------------------------------------------------------------

// The program relies on a null event making its waits return at once (when creating an event failed).
TEST_P(KernelTest, ClosedNullAndMadeUpHandlesFailAtOnce) {
    const DWORD start = GetTickCount();
    HANDLE closed = NewEvent(TRUE, TRUE);
    ASSERT_TRUE(CloseHandle(closed));
    // Windows hands closed handle values out again (GoogleTest's tracing opens handles): nothing but the
    // calls under test may run until the closed handle has been tried.
    for (HANDLE h : {closed, HANDLE{nullptr}, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x12340))}) {
        const char* name = h == nullptr ? "null" : h == closed ? "closed" : "made up";
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [h] {
            return WaitForSingleObject(h, 2000) == WAIT_FAILED;
        })) << name;
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [h] { return !SetEvent(h); })) << name;
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [h] { return !ResetEvent(h); })) << name;
        EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [h] { return !CloseHandle(h); })) << name;
    }
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE,
                          [] { return WaitForSingleObject(nullptr, INFINITE) == WAIT_FAILED; }));
    ExpectLasted(GetTickCount() - start, 0);
}

TEST_P(KernelTest, HandlesOfAnotherKindAreRefused) {
    // INVALID_HANDLE_VALUE is also the current process's pseudo handle: waiting on it times out.
    EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 20), WAIT_TIMEOUT);
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [] { return !SetEvent(INVALID_HANDLE_VALUE); }));
    EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE));

    ThreadArgs args;
    args.go = NewEvent(TRUE, TRUE);
    HANDLE thread = CreateThread(nullptr, 0, WaitGoThenReturn, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [thread] { return !SetEvent(thread); }));
    DWORD code = 0;
    EXPECT_TRUE(FailsWith(ERROR_INVALID_HANDLE, [&] { return !GetExitCodeThread(args.go, &code); }));
    CloseHandle(thread);
    CloseHandle(args.go);
}

// --- threads ---------------------------------------------------------------------------------------------

TEST_P(KernelTest, ThreadHandleIsSignalledWhenTheThreadEnds) {
    ThreadArgs args;
    args.go = NewEvent(TRUE, FALSE);
    args.result = 42;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitGoThenReturn, &args, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());

    EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(args.seenId, id); // the thread has run up to its wait

    EXPECT_TRUE(SetEvent(args.go));
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0); // stays signalled
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(args.go);
}

TEST_P(KernelTest, ExitThreadEndsTheThreadWithItsCode) {
    ThreadArgs args;
    args.result = 7;
    HANDLE thread = CreateThread(nullptr, 0, CallsExitThread, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(args.afterExitThread);
    CloseHandle(thread);
}

TEST_P(KernelTest, ClosingTheThreadHandleLeavesTheThreadRunning) {
    ThreadArgs args;
    args.go = NewEvent(TRUE, FALSE);
    args.done = NewEvent(TRUE, FALSE);
    HANDLE thread = CreateThread(nullptr, 0, WaitGoThenReturn, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_TRUE(SetEvent(args.go));
    EXPECT_EQ(WaitForSingleObject(args.done, 2000), WAIT_OBJECT_0);
    CloseHandle(args.go);
    CloseHandle(args.done);
}

TEST_P(KernelTest, LastErrorBelongsToEachThread) {
    SetLastError(1234);
    ThreadArgs args;
    args.seenError = 99;
    HANDLE thread = CreateThread(nullptr, 0, OwnLastError, &args, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(args.seenError, 0u);
    EXPECT_EQ(args.result, 5678u);
    EXPECT_EQ(GetLastError(), 1234u);
    CloseHandle(thread);
}

TEST_P(KernelTest, InterlockedOperationsReturnWhatWindowsReturns) {
    LONG volatile value = 5;
    EXPECT_EQ(InterlockedIncrement(&value), 6);
    EXPECT_EQ(InterlockedDecrement(&value), 5);
    EXPECT_EQ(InterlockedExchange(&value, 9), 5);
    EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 9);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 0), 12); // no match: unchanged
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 12), 12);
    EXPECT_EQ(value, 1);
}

// --- the system ------------------------------------------------------------------------------------------

TEST_P(KernelTest, GetVersionExAAnswersTheSmallRecordAndRefusesOtherSizes) {
    OSVERSIONINFOA info;
    std::memset(&info, 0xAB, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    SetLastError(777);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), 777u);
    EXPECT_EQ(info.dwOSVersionInfoSize, 148u);
    EXPECT_TRUE(info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
                info.dwPlatformId == VER_PLATFORM_WIN32_NT);
    EXPECT_GE(info.dwMajorVersion, 4u);
    EXPECT_LT(std::strlen(info.szCSDVersion), sizeof(info.szCSDVersion));

    for (DWORD size : {0u, 100u, 147u, 149u, 157u, 1000u}) {
        SCOPED_TRACE(size);
        OSVERSIONINFOEXA ex;
        std::memset(&ex, 0, sizeof(ex));
        ex.dwOSVersionInfoSize = size;
        ex.dwMajorVersion = 0xDEAD;
        EXPECT_TRUE(FailsWith(ERROR_INSUFFICIENT_BUFFER,
                              [&] { return !GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&ex)); }));
        EXPECT_EQ(ex.dwMajorVersion, 0xDEADu); // untouched
    }
}

TEST_P(KernelTest, GetVersionExAAnswersTheExtendedRecordOnTheNtFamily) {
    OSVERSIONINFOA small;
    small.dwOSVersionInfoSize = sizeof(small);
    ASSERT_TRUE(GetVersionExA(&small));
    if (small.dwPlatformId != VER_PLATFORM_WIN32_NT)
        GTEST_SKIP() << "Windows 9x has no extended version record";
    OSVERSIONINFOEXA ex;
    std::memset(&ex, 0, sizeof(ex));
    ex.dwOSVersionInfoSize = sizeof(ex);
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&ex)));
    EXPECT_EQ(ex.dwMajorVersion, small.dwMajorVersion);
    EXPECT_EQ(ex.dwBuildNumber, small.dwBuildNumber);
    EXPECT_STREQ(ex.szCSDVersion, small.szCSDVersion);
}

TEST_P(KernelTest, GetSystemDirectoryAFollowsTheBufferRules) {
    char full[MAX_PATH];
    const UINT length = GetSystemDirectoryA(full, sizeof(full));
    ASSERT_GT(length, 3u);
    ASSERT_LT(length, static_cast<UINT>(MAX_PATH));
    EXPECT_EQ(std::strlen(full), length);
    EXPECT_EQ(full[1], ':');

    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), length + 1); // the size needed, with the terminator

    char small[MAX_PATH];
    std::memset(small, 'x', sizeof(small));
    EXPECT_EQ(GetSystemDirectoryA(small, length), length + 1); // no room for the terminator
    EXPECT_EQ(small[0], 'x');                                  // and nothing written

    char exact[MAX_PATH];
    std::memset(exact, 'x', sizeof(exact));
    EXPECT_EQ(GetSystemDirectoryA(exact, length + 1), length);
    EXPECT_STREQ(exact, full);
}

// Host: every test in real and in virtual time. Windows: real time only.
INSTANTIATE_TEST_SUITE_P(Clocks, KernelTest, ::testing::ValuesIn(testsupport::AvailableClockKinds()),
                         [](const ::testing::TestParamInfo<ClockKind>& info) {
                             return std::string(testsupport::ClockKindName(info.param));
                         });

} // namespace
