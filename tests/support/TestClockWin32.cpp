// Windows build: real time and the real system, nothing to switch.
#include "TestClock.h"

namespace testsupport {

struct TestClock::State {};

TestClock::TestClock(ClockKind) {}

TestClock::~TestClock() = default;

bool TestClock::HasVirtualTime() {
    return false;
}

bool TestClock::IsVirtual() const {
    return false;
}

} // namespace testsupport
