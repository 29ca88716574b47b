#include "TestClock.h"

#include <ostream>

namespace testsupport {

const char* ClockKindName(ClockKind kind) {
    return kind == ClockKind::Virtual ? "Virtual" : "Real";
}

void PrintTo(ClockKind kind, std::ostream* os) {
    *os << ClockKindName(kind);
}

std::vector<ClockKind> AvailableClockKinds() {
    if (TestClock::HasVirtualTime())
        return {ClockKind::Real, ClockKind::Virtual};
    return {ClockKind::Real};
}

} // namespace testsupport
