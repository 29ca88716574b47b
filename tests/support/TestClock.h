// The clock a test runs on. On the host build a virtual TestClock turns on virtual time for its lifetime
// (hostsim::VirtualTime: the test's thread and the threads it creates run one at a time and the clock
// jumps over idle time), and every TestClock gives the test a fresh simulated system (Windows 2000, no
// records). On Windows there is only real time and the real system: a TestClock does nothing.
//
// Make it first in a test (a fixture member or a local) and let it go last: threads the test created must
// have ended by then (see hostsim/Clock.h for what happens to those that have not).
#pragma once
#include <iosfwd>
#include <memory>
#include <vector>

namespace testsupport {

enum class ClockKind { Real, Virtual };

const char* ClockKindName(ClockKind kind);      // "Real", "Virtual"
void PrintTo(ClockKind kind, std::ostream* os); // for GoogleTest's test names

// The clocks this build has, for tests that run once per clock: Real and Virtual on host, Real on Windows.
std::vector<ClockKind> AvailableClockKinds();

class TestClock {
public:
    explicit TestClock(ClockKind kind = ClockKind::Virtual);
    ~TestClock();
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;

    // True where the build has virtual time (host); on Windows a virtual TestClock runs in real time.
    static bool HasVirtualTime();
    // True while this clock runs virtual time: waits then last exactly their time in GetTickCount.
    bool IsVirtual() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace testsupport
