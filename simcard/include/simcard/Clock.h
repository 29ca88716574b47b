// Where the card gets its time and the caller's thread id from. The card never reads a clock of its own:
// on the host build it runs on the one clock of the stand-ins, in the DLL on GetTickCount.
#pragma once
#include <atomic>
#include <cstdint>

namespace simcard {

class CardClock {
public:
    virtual ~CardClock() = default;
    virtual std::uint64_t NowMs() = 0;    // monotonic milliseconds
    virtual std::uint32_t ThreadId() = 0; // id of the calling thread, for the trace
    // Holds the calling thread for ms on this clock while other threads go on (a slow driver).
    virtual void Pause(std::uint64_t ms) = 0;
};

// A clock that moves only when told to, for tests of the card itself.
class ManualClock final : public CardClock {
public:
    explicit ManualClock(std::uint64_t startMs = 0) : m_now(startMs) {}
    std::uint64_t NowMs() override { return m_now.load(); }
    std::uint32_t ThreadId() override { return m_threadId.load(); }
    void Pause(std::uint64_t ms) override { Advance(ms); }
    void Advance(std::uint64_t ms) { m_now += ms; }
    void SetThreadId(std::uint32_t id) { m_threadId = id; }

private:
    std::atomic<std::uint64_t> m_now;
    std::atomic<std::uint32_t> m_threadId{1};
};

} // namespace simcard
