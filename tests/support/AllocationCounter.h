// Counts the C++ heap allocations of the test program (it replaces the global operator new).
#pragma once
#include <cstdint>

namespace testsupport {
std::uint64_t AllocationCount();
}
