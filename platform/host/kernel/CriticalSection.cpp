// Critical sections on the scheduler: the state lives in the caller's record and is guarded by the
// scheduler lock, so entering, leaving and waiting allocate nothing.
#include <win32api.h>

#include <cstdio>
#include <cstdlib>

#include "hostsim/Clock.h"

VOID WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    auto lock = hostsim::LockScheduler();
    lpCriticalSection->OwningThread = 0;
    lpCriticalSection->RecursionCount = 0;
}

VOID WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    const DWORD self = GetCurrentThreadId();
    auto lock = hostsim::LockScheduler();
    if (lpCriticalSection->OwningThread == self) {
        ++lpCriticalSection->RecursionCount;
        return;
    }
    auto take = [lpCriticalSection, self] {
        if (lpCriticalSection->OwningThread != 0)
            return false;
        lpCriticalSection->OwningThread = self;
        lpCriticalSection->RecursionCount = 1;
        return true;
    };
    hostsim::BlockUntil(lock, take, hostsim::kNoDeadline, "EnterCriticalSection");
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    const DWORD self = GetCurrentThreadId();
    auto lock = hostsim::LockScheduler();
    if (lpCriticalSection->OwningThread == self) {
        ++lpCriticalSection->RecursionCount;
        return TRUE;
    }
    if (lpCriticalSection->OwningThread != 0)
        return FALSE;
    lpCriticalSection->OwningThread = self;
    lpCriticalSection->RecursionCount = 1;
    return TRUE;
}

VOID WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    const DWORD self = GetCurrentThreadId();
    auto lock = hostsim::LockScheduler();
    if (lpCriticalSection->OwningThread != self) {
        // Windows leaves such a program in an undefined state; we stop it where the fault is.
        std::fprintf(stderr, "LeaveCriticalSection by thread %u, which does not own it\n", unsigned(self));
        std::abort();
    }
    if (--lpCriticalSection->RecursionCount == 0) {
        lpCriticalSection->OwningThread = 0;
        hostsim::NotifyChange(lock);
    }
}

VOID WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
    auto lock = hostsim::LockScheduler();
    lpCriticalSection->OwningThread = 0;
    lpCriticalSection->RecursionCount = 0;
}
