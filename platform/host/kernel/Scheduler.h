// Inside the clock (hostsim/Clock.h): the record every thread has, and what the thread stand-ins need
// from the scheduler. Not for program code.
#pragma once
#include "hostsim/Clock.h"

#include <condition_variable>
#include <cstdint>
#include <memory>

namespace hostsim::detail {

// One per thread that uses the stand-ins: a thread made by CreateThread has it in its thread object, any
// other thread a thread_local one. Everything but lastError is guarded by the scheduler lock.
struct ThreadRecord {
    enum class State {
        Running,  // holds the baton (program thread) or simply runs (other threads)
        Runnable, // program thread in the run queue, waiting for the baton
        Blocked,  // in BlockUntil
        Ended,
        Frozen, // was a program thread when its VirtualTime ended: never runs again
    };
    enum class WaitResult { Pending, Ready, TimedOut };

    ThreadRecord() = default;
    ~ThreadRecord();
    ThreadRecord(const ThreadRecord&) = delete;
    ThreadRecord& operator=(const ThreadRecord&) = delete;

    std::uint32_t id = 0;     // GetCurrentThreadId; 0 until first needed
    std::uint32_t realId = 0; // the id to go back to when virtual time ends (constructing thread)
    std::uint32_t lastError = 0;
    bool program = false;
    State state = State::Running;
    const void* startRoutine = nullptr; // for the deadlock report

    // The current wait.
    const ReadyTest* ready = nullptr;
    std::uint64_t deadline = kNoDeadline;
    std::uint64_t blockSeq = 0;
    std::uint64_t blockedSince = 0;
    const char* what = nullptr;
    WaitResult result = WaitResult::Pending;

    // Intrusive links: the list of blocked threads, the run queue, the list of program threads.
    ThreadRecord* waitPrev = nullptr;
    ThreadRecord* waitNext = nullptr;
    ThreadRecord* runNext = nullptr;
    ThreadRecord* progPrev = nullptr;
    ThreadRecord* progNext = nullptr;

    std::condition_variable cv;
};

// The calling thread's record.
ThreadRecord& Self();
// Makes `record` the calling thread's record (a thread made by CreateThread, at its start) or drops it.
void SetSelf(ThreadRecord* record);

// A new thread made by CreateThread: gets its id and, in virtual time, becomes a runnable program thread
// (at the end of the run queue). Lock held.
void RegisterNewThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record);
// Undoes RegisterNewThread when the thread could not be started. Lock held.
void UnregisterNewThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record);
// First thing on the new thread: waits for the baton if it is a program thread. Lock held.
void WaitForStart(std::unique_lock<std::mutex>& lock, ThreadRecord& record);
// Last thing on an ending thread, after its end has been made visible: it leaves the program threads and
// hands the baton on. Lock held.
void EndThread(std::unique_lock<std::mutex>& lock, ThreadRecord& record);

// A new thread id outside virtual time.
std::uint32_t NextRealThreadId();

} // namespace hostsim::detail
