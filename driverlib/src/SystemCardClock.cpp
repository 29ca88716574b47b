#include "driverlib/CardRack.h"

namespace driverlib {
namespace {

// GetTickCount wraps after 49.7 days; the card needs time that never goes back.
class TickCountClock final : public simcard::CardClock {
public:
    std::uint64_t NowMs() override {
        threads::Lock lock(m_mutex);
        const DWORD tick = GetTickCount();
        if (tick < m_lastTick)
            m_high += std::uint64_t{1} << 32;
        m_lastTick = tick;
        return m_high | tick;
    }
    std::uint32_t ThreadId() override { return GetCurrentThreadId(); }
    // On the host build the stand-ins' Sleep waits on their one clock, virtual or real.
    void Pause(std::uint64_t ms) override {
        while (ms > 0) {
            const DWORD step = ms > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(ms);
            Sleep(step);
            ms -= step;
        }
    }

private:
    threads::Mutex m_mutex;
    DWORD m_lastTick = 0;
    std::uint64_t m_high = 0;
};

} // namespace

std::shared_ptr<simcard::CardClock> SystemCardClock() {
    static const auto clock = std::make_shared<TickCountClock>();
    return clock;
}

} // namespace driverlib
