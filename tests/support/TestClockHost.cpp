// Host build: virtual time from the stand-ins' clock, and a fresh simulated system per test.
#include "TestClock.h"

#include "hostsim/Clock.h"
#include "hostsim/System.h"

#include <optional>

namespace testsupport {

struct TestClock::State {
    std::optional<hostsim::VirtualTime> virtualTime;
};

TestClock::TestClock(ClockKind kind) : m_state(std::make_unique<State>()) {
    hostsim::ResetSystem();
    if (kind == ClockKind::Virtual)
        m_state->virtualTime.emplace();
}

TestClock::~TestClock() {
    m_state->virtualTime.reset();
    hostsim::ResetSystem();
}

bool TestClock::HasVirtualTime() {
    return true;
}

bool TestClock::IsVirtual() const {
    return m_state->virtualTime.has_value();
}

} // namespace testsupport
