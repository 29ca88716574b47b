// What the program's threads do with events, and how they end, as it happens: for a trace of the
// hand-shake between threads (the host runner's `trace events`) and of thread exit codes. Nothing is
// recorded or kept; a sink that is set gets each record on the thread that acted, after the act, outside
// the stand-ins' locks. Costs nothing while no sink is set.
#pragma once
#include <cstdint>
#include <functional>

namespace hostsim {

struct KernelRecord {
    enum class Kind { SetEvent, ResetEvent, WaitStart, WaitEnd, ThreadExit };
    Kind kind = Kind::SetEvent;
    std::uint32_t threadId = 0;
    std::uintptr_t handle = 0; // the event or object waited on
    std::uint32_t limitMs = 0; // WaitStart, WaitEnd: the time-out asked (INFINITE 0xFFFFFFFF)
    std::uint32_t result =
        0; // SetEvent, ResetEvent: the BOOL; WaitEnd: WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED
    std::uint64_t waitedMs = 0; // WaitEnd: on the clock
    std::uint32_t exitCode = 0; // ThreadExit
};

// Calls of SetEvent, ResetEvent and WaitForSingleObject, and the end of every thread CreateThread made.
void SetKernelTraceSink(std::function<void(const KernelRecord&)> sink);

} // namespace hostsim
