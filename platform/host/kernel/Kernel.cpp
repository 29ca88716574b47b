// Kernel objects of the host stand-ins: events, threads, the handle table, waits, Sleep, tick count and
// the per-thread last error. Every object and the handle table are guarded by the scheduler lock, which
// is also what a blocked thread's ready test reads under (hostsim/Clock.h).
#include "Scheduler.h"

#include "NoDestroy.h"

#include "hostsim/KernelTrace.h"
#include "hostsim/System.h"
#include "hostwin/kernel.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace hostsim::detail {
namespace {

struct KernelObject {
    enum class Type { Event, Thread, Process };
    explicit KernelObject(Type t) : type(t) {}
    virtual ~KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    const Type type;
};

struct EventObject final : KernelObject {
    EventObject(bool manual, bool initial)
        : KernelObject(Type::Event), manualReset(manual), signalled(initial) {}
    const bool manualReset;
    bool signalled;
};

struct ThreadObject final : KernelObject {
    ThreadObject(LPTHREAD_START_ROUTINE routine, LPVOID parameter)
        : KernelObject(Type::Thread), start(routine), param(parameter) {}
    ThreadRecord record;
    const LPTHREAD_START_ROUTINE start;
    const LPVOID param;
    bool ended = false;
    DWORD exitCode = STILL_ACTIVE;
};

// The current process, which INVALID_HANDLE_VALUE stands for (GetCurrentProcess): never signalled.
struct ProcessObject final : KernelObject {
    ProcessObject() : KernelObject(Type::Process) {}
};

// Handle values are never reused, so a closed handle stays invalid for good.
struct HandleTable {
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    std::unordered_map<std::string, std::weak_ptr<EventObject>> namedEvents;
    std::shared_ptr<KernelObject> process = std::make_shared<ProcessObject>();
    std::uintptr_t nextValue = 0x100;
};

HandleTable& Handles() {
    static NoDestroy<HandleTable> table;
    return table.Get();
}

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
    HandleTable& t = Handles();
    const std::uintptr_t value = t.nextValue;
    t.nextValue += 4;
    t.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> Lookup(HANDLE handle) {
    HandleTable& t = Handles();
    if (handle == INVALID_HANDLE_VALUE)
        return t.process;
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end())
        return nullptr;
    return it->second;
}

bool IsSignalled(const KernelObject& o) {
    switch (o.type) {
    case KernelObject::Type::Event:
        return static_cast<const EventObject&>(o).signalled;
    case KernelObject::Type::Thread:
        return static_cast<const ThreadObject&>(o).ended;
    case KernelObject::Type::Process:
        return false;
    }
    return false;
}

// What a satisfied wait does to the object: an auto-reset event goes back to not signalled.
void Acquire(KernelObject& o) {
    if (o.type == KernelObject::Type::Event) {
        auto& event = static_cast<EventObject&>(o);
        if (!event.manualReset)
            event.signalled = false;
    }
}

bool TryAcquire(KernelObject& o) {
    if (!IsSignalled(o))
        return false;
    Acquire(o);
    return true;
}

std::uint64_t DeadlineAfter(DWORD ms) {
    return ms == INFINITE ? kNoDeadline : NowMs() + ms;
}

void SetError(DWORD error) {
    Self().lastError = error;
}

// ExitThread unwinds the thread's stack to its start with this (not a std::exception, so that a program's
// catch of std::exception does not stop it).
struct ThreadExitUnwind {
    DWORD code;
};

thread_local bool t_madeByCreateThread = false;

// The trace sink; read and written under the scheduler lock, called outside it.
using KernelSink = std::function<void(const hostsim::KernelRecord&)>;
std::shared_ptr<const KernelSink>& SinkSlot() {
    static NoDestroy<std::shared_ptr<const KernelSink>> slot;
    return slot.Get();
}

void Trace(const std::shared_ptr<const KernelSink>& sink, hostsim::KernelRecord record) {
    if (!sink)
        return;
    record.threadId = Self().id;
    (*sink)(record);
}

void ThreadMain(const std::shared_ptr<ThreadObject>& object) {
    ThreadRecord& record = object->record;
    SetSelf(&record);
    t_madeByCreateThread = true;
    {
        auto lock = LockScheduler();
        WaitForStart(lock, record);
    }
    DWORD code = 0;
    try {
        code = object->start(object->param);
    } catch (const ThreadExitUnwind& exit) {
        code = exit.code;
    }
    {
        auto lock = LockScheduler();
        std::shared_ptr<const KernelSink> sink = SinkSlot();
        if (sink) {
            // Told while the thread still counts as running, so that the record comes in its turn.
            lock.unlock();
            hostsim::KernelRecord exit;
            exit.kind = hostsim::KernelRecord::Kind::ThreadExit;
            exit.exitCode = code;
            Trace(sink, exit);
            lock.lock();
        }
        object->exitCode = code;
        object->ended = true;
        NotifyChange(lock);
        EndThread(lock, record);
    }
    t_madeByCreateThread = false;
    SetSelf(nullptr);
}

} // namespace
} // namespace hostsim::detail

using namespace hostsim::detail;
using hostsim::LockScheduler;

// --- events and handles ----------------------------------------------------------------------------------

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName) {
    auto lock = LockScheduler();
    HandleTable& t = Handles();
    if (lpName) {
        auto it = t.namedEvents.find(lpName);
        if (it != t.namedEvents.end()) {
            if (auto existing = it->second.lock()) {
                HANDLE handle = AddHandle(std::move(existing));
                SetError(ERROR_ALREADY_EXISTS);
                return handle;
            }
        }
    }
    auto event = std::make_shared<EventObject>(bManualReset != FALSE, bInitialState != FALSE);
    if (lpName)
        t.namedEvents[lpName] = event;
    HANDLE handle = AddHandle(std::move(event));
    SetError(ERROR_SUCCESS);
    return handle;
}

namespace {
BOOL ChangeEvent(HANDLE hEvent, bool signalled) {
    auto lock = LockScheduler();
    std::shared_ptr<const KernelSink> sink = SinkSlot();
    auto object = Lookup(hEvent);
    BOOL done = FALSE;
    if (!object || object->type != KernelObject::Type::Event) {
        SetError(ERROR_INVALID_HANDLE);
    } else {
        static_cast<EventObject&>(*object).signalled = signalled;
        if (signalled)
            hostsim::NotifyChange(lock);
        done = TRUE;
    }
    lock.unlock();
    hostsim::KernelRecord record;
    record.kind = signalled ? hostsim::KernelRecord::Kind::SetEvent : hostsim::KernelRecord::Kind::ResetEvent;
    record.handle = reinterpret_cast<std::uintptr_t>(hEvent);
    record.result = static_cast<std::uint32_t>(done);
    Trace(sink, record);
    return done;
}
} // namespace

BOOL WINAPI SetEvent(HANDLE hEvent) {
    return ChangeEvent(hEvent, true);
}

BOOL WINAPI ResetEvent(HANDLE hEvent) {
    return ChangeEvent(hEvent, false);
}

BOOL WINAPI CloseHandle(HANDLE hObject) {
    std::shared_ptr<KernelObject> closing; // let go after the lock
    auto lock = LockScheduler();
    if (hObject == INVALID_HANDLE_VALUE)
        return TRUE; // the current-process pseudo handle: closing it does nothing, as on Windows
    HandleTable& t = Handles();
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(hObject));
    if (it == t.objects.end()) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    closing = std::move(it->second);
    t.objects.erase(it);
    lock.unlock();
    return TRUE;
}

// --- waits, sleep, time ----------------------------------------------------------------------------------

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    auto lock = LockScheduler();
    std::shared_ptr<const KernelSink> sink = SinkSlot();
    hostsim::KernelRecord record;
    record.handle = reinterpret_cast<std::uintptr_t>(hHandle);
    record.limitMs = dwMilliseconds;
    const std::uint64_t started = hostsim::NowMs();
    if (sink) {
        lock.unlock();
        record.kind = hostsim::KernelRecord::Kind::WaitStart;
        Trace(sink, record);
        lock.lock();
    }
    auto object = Lookup(hHandle);
    DWORD result = WAIT_FAILED;
    if (!object) {
        SetError(ERROR_INVALID_HANDLE);
    } else {
        KernelObject* o = object.get();
        auto ready = [o] { return TryAcquire(*o); };
        const bool signalled =
            hostsim::BlockUntil(lock, ready, DeadlineAfter(dwMilliseconds), "WaitForSingleObject");
        result = signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
    if (sink) {
        lock.unlock();
        record.kind = hostsim::KernelRecord::Kind::WaitEnd;
        record.result = result;
        record.waitedMs = hostsim::NowMs() - started;
        Trace(sink, record);
    }
    return result;
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll,
                                    DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    auto lock = LockScheduler();
    std::shared_ptr<KernelObject> objects[MAXIMUM_WAIT_OBJECTS];
    for (DWORD i = 0; i < nCount; ++i) {
        objects[i] = Lookup(lpHandles[i]);
        if (!objects[i]) {
            SetError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        if (bWaitAll) {
            for (DWORD j = 0; j < i; ++j) {
                if (objects[j] == objects[i]) {
                    SetError(ERROR_INVALID_PARAMETER); // Windows refuses one object twice in a wait for all
                    return WAIT_FAILED;
                }
            }
        }
    }
    DWORD index = 0;
    auto ready = [&] {
        if (!bWaitAll) {
            for (DWORD i = 0; i < nCount; ++i) {
                if (TryAcquire(*objects[i])) {
                    index = i;
                    return true;
                }
            }
            return false;
        }
        for (DWORD i = 0; i < nCount; ++i)
            if (!IsSignalled(*objects[i]))
                return false;
        for (DWORD i = 0; i < nCount; ++i)
            Acquire(*objects[i]);
        index = 0;
        return true;
    };
    const bool signalled =
        hostsim::BlockUntil(lock, ready, DeadlineAfter(dwMilliseconds), "WaitForMultipleObjects");
    return signalled ? WAIT_OBJECT_0 + index : WAIT_TIMEOUT;
}

VOID WINAPI Sleep(DWORD dwMilliseconds) {
    auto lock = LockScheduler();
    if (dwMilliseconds == 0 && !Self().program) {
        lock.unlock();
        std::this_thread::yield();
        return;
    }
    auto never = [] { return false; };
    hostsim::BlockUntil(lock, never, DeadlineAfter(dwMilliseconds), "Sleep");
}

DWORD WINAPI GetTickCount(void) {
    return static_cast<DWORD>(hostsim::NowMs());
}

// --- threads ---------------------------------------------------------------------------------------------

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress,
                           LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId) {
    // Suspended creation (and so ResumeThread) is not part of the subset.
    if (!lpStartAddress || (dwCreationFlags & CREATE_SUSPENDED)) {
        SetError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_shared<ThreadObject>(lpStartAddress, lpParameter);
    object->record.startRoutine = reinterpret_cast<const void*>(lpStartAddress);
    auto lock = LockScheduler();
    RegisterNewThread(lock, object->record);
    HANDLE handle = AddHandle(object);
    try {
        std::thread([object] { ThreadMain(object); }).detach();
    } catch (const std::system_error&) {
        Handles().objects.erase(reinterpret_cast<std::uintptr_t>(handle));
        UnregisterNewThread(lock, object->record);
        SetError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpThreadId)
        *lpThreadId = object->record.id;
    return handle;
}

DWORD WINAPI GetCurrentThreadId(void) {
    return Self().id;
}

BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    auto lock = LockScheduler();
    auto object = Lookup(hThread);
    if (!object || object->type != KernelObject::Type::Thread) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpExitCode) {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto& thread = static_cast<const ThreadObject&>(*object);
    *lpExitCode = thread.ended ? thread.exitCode : STILL_ACTIVE;
    return TRUE;
}

VOID WINAPI ExitThread(DWORD dwExitCode) {
    if (!t_madeByCreateThread) {
        std::fprintf(stderr,
                     "hostsim: ExitThread on thread %u, which CreateThread did not make: not supported\n",
                     Self().id);
        std::abort();
    }
    throw ThreadExitUnwind{dwExitCode};
}

// --- trace ----------------------------------------------------------------------------------------------

void hostsim::SetKernelTraceSink(std::function<void(const KernelRecord&)> sink) {
    auto lock = LockScheduler();
    SinkSlot() = sink ? std::make_shared<const KernelSink>(std::move(sink)) : nullptr;
}

// --- last error ------------------------------------------------------------------------------------------

DWORD WINAPI GetLastError(void) {
    return Self().lastError;
}

VOID WINAPI SetLastError(DWORD dwErrCode) {
    Self().lastError = dwErrCode;
}

// --- inspection ------------------------------------------------------------------------------------------

std::size_t hostsim::OpenKernelHandleCount() {
    auto lock = LockScheduler();
    return Handles().objects.size();
}
