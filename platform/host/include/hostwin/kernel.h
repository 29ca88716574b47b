// Kernel services of the Win32 API subset: events, waits, threads, time, version, debugger output.
// Every wait, sleep and tick count goes through the one clock of the stand-ins (hostsim/Clock.h).
//
// Where the host stand-ins stand (checked against Windows under Wine by tests/platform/kernel):
// - Handles: a null, closed or made-up handle makes every call fail at once with ERROR_INVALID_HANDLE
//   (WaitForSingleObject answers WAIT_FAILED without waiting); so does a handle of the wrong kind (SetEvent
//   on a thread). INVALID_HANDLE_VALUE is the current process, as on Windows: never signalled, and closing
//   it succeeds. Handle values are never reused.
// - Events: manual and auto reset; a name makes the second CreateEventA of that name open the same event
//   (ERROR_ALREADY_EXISTS). CreateEventA clears the last error on success, as Windows does.
// - Threads: real threads. A thread handle is signalled when the thread ends; GetExitCodeThread answers
//   STILL_ACTIVE until then. CREATE_SUSPENDED is not supported (ERROR_INVALID_PARAMETER).
// - Sleep(0) yields. GetTickCount is the low 32 bits of hostsim::NowMs().
// - GetVersionExA, GetSystemDirectoryA, OutputDebugStringA, DefineDosDeviceA and MessageBeep answer and
//   record per hostsim/System.h.
#pragma once
#include "hostwin/types.h"

// Waits.
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define WAIT_ABANDONED_0 0x00000080u
#define MAXIMUM_WAIT_OBJECTS 64

#ifndef ERROR_ALREADY_EXISTS
#define ERROR_ALREADY_EXISTS 183L
#endif

typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 0x00000103u
#define THREAD_PRIORITY_NORMAL 0

// The overlapped record passed with driver requests (Windows' layout for the build's pointer size).
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    union {
        struct {
            DWORD Offset;
            DWORD OffsetHigh;
        } s;
        PVOID Pointer;
    } u;
    HANDLE hEvent;
};
typedef OVERLAPPED* LPOVERLAPPED;

// Version information.
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};
typedef OSVERSIONINFOA* LPOSVERSIONINFOA;
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes on Windows");
// The extended record, accepted by GetVersionExA on the NT family (NT 4 SP6 and later), as on Windows.
#define VER_NT_WORKSTATION 0x0000001
struct OSVERSIONINFOEXA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};
typedef OSVERSIONINFOEXA* LPOSVERSIONINFOEXA;
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA is 156 bytes on Windows");

#define DDD_RAW_TARGET_PATH 0x00000001u
#define DDD_REMOVE_DEFINITION 0x00000002u

// MessageBeep sounds (the MB_ICON* values).
#define MB_OK 0x00000000u
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONASTERISK 0x00000040u

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                           LPCSTR lpName);
BOOL WINAPI SetEvent(HANDLE hEvent);
BOOL WINAPI ResetEvent(HANDLE hEvent);
BOOL WINAPI CloseHandle(HANDLE hObject);
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                    DWORD dwMilliseconds);
VOID WINAPI Sleep(DWORD dwMilliseconds);
DWORD WINAPI GetTickCount(void);

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                           LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                           LPDWORD lpThreadId);
DWORD WINAPI GetCurrentThreadId(void);
BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
// Ends a thread made by CreateThread (its C++ stack is unwound); on any other thread it aborts the process.
[[noreturn]] VOID WINAPI ExitThread(DWORD dwExitCode);

DWORD WINAPI GetLastError(void);
VOID WINAPI SetLastError(DWORD dwErrCode);

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA lpVersionInformation);
VOID WINAPI OutputDebugStringA(LPCSTR lpOutputString);
BOOL WINAPI DefineDosDeviceA(DWORD dwFlags, LPCSTR lpDeviceName, LPCSTR lpTargetPath);
UINT WINAPI GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);
BOOL WINAPI MessageBeep(UINT uType);

// Interlocked operations on 32-bit values (sequentially consistent, as on Windows).
inline LONG InterlockedIncrement(LONG volatile* lpAddend) {
    return __atomic_add_fetch(lpAddend, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedDecrement(LONG volatile* lpAddend) {
    return __atomic_sub_fetch(lpAddend, 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchange(LONG volatile* Target, LONG Value) {
    return __atomic_exchange_n(Target, Value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchangeAdd(LONG volatile* Addend, LONG Value) {
    return __atomic_fetch_add(Addend, Value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(LONG volatile* Destination, LONG Exchange, LONG Comparand) {
    __atomic_compare_exchange_n(Destination, &Comparand, Exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
    return Comparand;
}

// Critical sections: a lock that a thread may enter again while it holds it. Waiting for one is a wait on the
// one clock, so in virtual time a thread that waits gives the others their turn.
struct CRITICAL_SECTION {
    DWORD OwningThread; // 0 while free
    LONG RecursionCount;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

VOID WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VOID WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VOID WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
VOID WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection);
